#include "installer/program/install_pages.h"

#include "installer/program/inflated_picture.h"
#include "installer/program/resource.h"

namespace {

const WizardPage kPages[] = {
    {nullptr,
     {"欢迎使用Varnek打印机\n\n本向导将会在您的电脑上安装Varnek打印机驱动。本程序支持Word、Excel等程序的Windows"
      "标准打印功能。\n\n本程序在完成安装之后，不必重启系統就可以直接使用。\n\n\n请点击[下一步]继续。",
      nullptr},
     0, 0, PageExtra::kNothing},
    {"选择安装文件夹",
     {"安装程序将Varnek打印机驱动安装在下列文件夹。如果要安装到不同的文件夹，点击   【浏览】并选择其它文件夹。"
      "点击【下一步】继续。",
      nullptr},
     13, 0, PageExtra::kFolderFrame},
    {"正在安装",
     {"安装程序正在Varnek打印机驱动到您的电脑上。请等待，这个工程可能会花几分钟。", nullptr},
     13, 0, PageExtra::kStatusLine},
    // The status line tells when a restart completes the installation.
    {"安装完成", {"Varnek打印机驱动已成功安装到您的电脑。 ", "关闭窗口请点击【完成】"}, 103, 20,
     PageExtra::kStatusLine},
};

}  // namespace

const WizardPages g_installPages = {kPages, 4, IDB_SIDE_PICTURE, IDB_HEADER_LOGO, InflatePicture};
