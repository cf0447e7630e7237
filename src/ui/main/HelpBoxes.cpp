#include "HelpBoxes.h"

#include "MessageBox.h"

#include <QString>

namespace {

const QString newLine = QStringLiteral("\r\n");

} // namespace

void HelpBoxes::showHelp(MessageBox& messageBox)
{
    const QString text = QStringLiteral("输入网站的名称,用户ID及密码,然后单击保存.") + newLine
        + QStringLiteral("为了找回密码,只要选定网站列表中的名称,密码就会显示在密码框中") + newLine + newLine
        + QStringLiteral("你可以剪切和粘贴你的密码到网站上,或...你可以使用粘贴按钮.") + newLine + newLine + newLine
        + QStringLiteral("数据文件会以 \".dta\"为扩展名保存到程序文件夹中.") + newLine + newLine
        + QStringLiteral("你可以输入网址,然后单击它,就会转到该网址.") + newLine + newLine
        + QStringLiteral("Easy ... right? 享用吧!");
    messageBox.show(text, MessageBox::Information | MessageBox::SetForeground, QStringLiteral("帮助!"));
}

void HelpBoxes::showAbout(MessageBox& messageBox)
{
    const QString text = QStringLiteral("版权所有 (C) Sitewarden 开发者") + newLine + newLine
        + QStringLiteral("Sitewarden软件") + newLine + QStringLiteral("sitewarden@example.org  或  support@example.org")
        + newLine + QStringLiteral("http://www.example.org/sitewarden") + newLine + newLine;
    messageBox.show(text, MessageBox::Information | MessageBox::SetForeground, QStringLiteral("关于"));
}
