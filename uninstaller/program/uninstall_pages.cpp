#include "uninstaller/program/uninstall_pages.h"

#include "uninstaller/program/resource.h"
#include "wizard_ui/packed_picture.h"

namespace {

// The texts are used exactly as written, repeated characters included.
const WizardPage kPages[] = {
    {nullptr,
     {"卸载Varnek标牌打印机驱动\n\n谢谢您使用Varnek标牌打印机。本程序在卸载之后，重启系統就可以清理干净。\n\n\n"
      "请点击[下一步]继续。",
      nullptr},
     0, 0, PageExtra::kNothing},
    {"正在卸载", {"卸载程序正在正在卸载Varnek标牌打印机驱动，请等待，这个过程程可能会花几分钟。", nullptr}, 13, 0,
     PageExtra::kFolderFrame},
    {"卸载完毕", {"已成功卸载Varnek标牌打印机驱动。 \n\n\n\n\n\n\n\n", "关闭窗口请点击【完成】"}, 13, 40,
     PageExtra::kStatusLine},
};

}  // namespace

const WizardPages g_uninstallPages = {kPages, 3, IDB_SIDE_PICTURE, IDB_HEADER_LOGO, UnpackPicture};
