#pragma once

class MessageBox;
class Sitewarden;
class StoreView;

// The e-mail address list: the items of Combo2 and the file behind them, one address a line.
class EmailList
{
public:
    EmailList(Sitewarden& module, StoreView& view, MessageBox& messageBox);

    void LoadEmailList();
    void SaveEmailList();
    void RemoveEmail();

private:
    Sitewarden& m_module;
    StoreView& m_view;
    MessageBox& m_messageBox;
};
