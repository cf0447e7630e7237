#pragma once

class MessageBox;

// The help menu's two boxes, 帮助(H) (F1) and 关于(A), brought to the front; their lines end in CR LF.
namespace HelpBoxes {

void showHelp(MessageBox& messageBox);
void showAbout(MessageBox& messageBox);

} // namespace HelpBoxes
