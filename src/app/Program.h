#pragma once

#include "DuplicateSearchRun.h"
#include "Form1.h"
#include "Form2.h"
#include "PathStyle.h"
#include "Services.h"
#include "SettingsStore.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <stop_token>

namespace velmora {

// The two windows and the commands that join them. The main window lives from start to
// end; the results window is created the first time a search refers to it. Closing
// either window ends the program.
class Program {
public:
    Program(Services& services, SettingsStore& settings, std::function<void()> endProgram);
    ~Program();

    Form1& form1() { return *form1_; }
    Form2& form2(); // creates the results window on first use
    bool hasForm2() const { return form2_ != nullptr; }
    DuplicateSearchRun& searchRun() { return searchRun_; }

    // Opens the main window in the middle of the screen the user is working on.
    void show();

    // What a file manager's "Open With" hands over: each path joins the list exactly as
    // dropping it on the list would, in the order given. A relative path is taken from
    // the working folder, since a drop only ever carries whole paths.
    void openPaths(const QStringList& paths);

private:
    void end();

    Services& services_;
    std::function<void()> endProgram_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    DuplicateSearchRun searchRun_;
    // Closing the window ends a folder walk under way ("Add All File(s) In Folder" or a
    // dropped folder), as it ends a search run.
    std::stop_source walkStop_;
};

} // namespace velmora
