#pragma once

class ProgramFolder;
class Sitewarden;
class StoreView;

// The default user ID: the first line of a small file beside the program, and the dialog that
// edits it. Neither routine ever reports a failure: a step that fails is skipped.
class DefaultUserIdFile
{
public:
    DefaultUserIdFile(Sitewarden& module, StoreView& view, const ProgramFolder& programFolder);

    void LoadDefaultUserId();
    void EditDefaultUserId();

private:
    Sitewarden& m_module;
    StoreView& m_view;
    const ProgramFolder& m_programFolder;
};
