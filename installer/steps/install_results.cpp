#include "installer/steps/install_results.h"

#include "common/names.h"
#include "common/path_text.h"

namespace {

// Appends text at buffer[used], keeping the terminator; false when it does not fit.
bool Append(char16_t* buffer, size_t size, size_t& used, const char16_t* text)
{
    size_t length = 0;
    while (text[length])
        ++length;
    if (used + length >= size)
        return false;
    for (size_t i = 0; i <= length; ++i)
        buffer[used + i] = text[i];
    used += length;
    return true;
}

}  // namespace

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

const char16_t* StepName(InstallOutcome outcome)
{
    switch (outcome) {
    case InstallOutcome::kPortFailed:
        return u"打印机端口 USB PORT:";
    case InstallOutcome::kProductKeyFailed:
        return u"注册表项";
    case InstallOutcome::kStartMenuFailed:
        return u"开始菜单快捷方式";
    case InstallOutcome::kUninstallEntryFailed:
        return u"程序和功能中的卸载项";
    case InstallOutcome::kDriverFilesFailed:
        return u"驱动程序文件的复制";
    case InstallOutcome::kMonitorLibraryFailed:
        return u"端口监视器文件的复制";
    case InstallOutcome::kUsbDriverFailed:
        return u"USB驱动程序";
    case InstallOutcome::kMonitorFailed:
        return u"端口监视器的注册";
    case InstallOutcome::kPrinterDriverFailed:
        return u"打印机驱动的注册";
    case InstallOutcome::kQueueFailed:
        return u"打印机 VarnekPrinter";
    case InstallOutcome::kServiceFailed:
        return u"打印机服务";
    default:
        return nullptr;
    }
}

void InstallResults::Record(InstallOutcome outcome)
{
    if (outcome == InstallOutcome::kInstalled)
        return;
    if (outcome == InstallOutcome::kRestartNeeded) {
        m_restartNeeded = true;
        return;
    }
    for (int i = 0; i < m_failureCount; ++i) {
        if (m_failures[i] == outcome)
            return;
    }
    if (m_failureCount < kMaxFailures)
        m_failures[m_failureCount++] = outcome;
}

InstallOutcome InstallResults::Outcome() const
{
    if (m_failureCount > 0)
        return m_failures[0];
    return m_restartNeeded ? InstallOutcome::kRestartNeeded : InstallOutcome::kInstalled;
}

bool ComposeFailureMessage(char16_t* buffer, size_t size, const InstallResults& results, const char16_t* logPath)
{
    size_t used = 0;
    bool fits = Append(buffer, size, used, u"安装未完成，以下步骤失败：\r\n");
    for (int i = 0; fits && i < results.FailureCount(); ++i) {
        const char16_t* name = StepName(results.Failure(i));
        if (name)
            fits = Append(buffer, size, used, u"    ") && Append(buffer, size, used, name) &&
                   Append(buffer, size, used, u"\r\n");
    }
    if (fits && logPath[0])
        fits = Append(buffer, size, used, u"\r\n详细信息请见安装日志：\r\n") && Append(buffer, size, used, logPath);
    if (!fits && size > 0)
        buffer[0] = u'\0';
    return fits;
}

bool ComposePortErrorText(char* buffer, size_t size, unsigned long code)
{
    // Setup API codes such as 0xE000020B are meaningful only in hexadecimal.
    return ComposePath(buffer, size, "添加端口 " VARNEK_PORT " 失败，错误代码 %lu (0x%08lX)", code, code);
}
