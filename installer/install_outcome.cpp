#include "installer/install_outcome.h"

const char* InstallOutcomeMessage(InstallOutcome outcome)
{
    switch (outcome) {
    case InstallOutcome::kFolderEmpty:
        return "安装文件夹不能为空";
    case InstallOutcome::kFolderInvalid:
        return "安装文件夹不是有效文件夹";
    case InstallOutcome::kPackageDamaged:
        return "安装文件已损坏，请联系打印机厂商";
    case InstallOutcome::kPackageTooLarge:
        return "安装文件过大，已停止安装，请联系打印机厂商";
    case InstallOutcome::kDiskFull:
        return "磁盘空间不足，请释放空间后重新安装";
    case InstallOutcome::kWriteFailed:
        return "无法写入安装文件，请检查磁盘和安装文件夹后重新安装";
    case InstallOutcome::kWrongArchitecture:
        return "此安装程序不适用于本机的Windows版本，请联系打印机厂商";
    default:
        return nullptr;
    }
}
