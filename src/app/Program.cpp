#include "Program.h"

#include "AddFiles.h"
#include "AddFolder.h"
#include "FileDrop.h"
#include "ListButtons.h"
#include "SampleFiles.h"
#include "WindowPlacement.h"

#include <QDir>
#include <QPushButton>

namespace velmora {

namespace {
// Paths on this platform are POSIX paths.
constexpr PathStyle platformPathStyle = PathStyle::Posix;
} // namespace

Program::Program(Services& services, SettingsStore& settings, std::function<void()> endProgram)
    : services_(services), endProgram_(std::move(endProgram)),
      form1_(std::make_unique<Form1>(services, settings, [this] { end(); })),
      searchRun_(
          *form1_, [this]() -> Form2& { return form2(); }, platformPathStyle) {
    Form1& form = *form1_;
    QObject::connect(form.PushButton1(), &QPushButton::clicked, form1_.get(), [this] {
        PushButton1_Click(services_.fileDialogs, services_.messages, form1_->fileList(),
                          platformPathStyle);
    });
    QObject::connect(form.PushButton2(), &QPushButton::clicked, form1_.get(),
                     [this] { searchRun_.PushButton2_Click(); });
    QObject::connect(form.PushButton3(), &QPushButton::clicked, form1_.get(), [this] {
        PushButton3_Click(services_.messages, services_.folderBrowser, form1_->settings(),
                          form1_->pointer(), form1_->fileList(), platformPathStyle,
                          walkStop_.get_token());
    });
    QObject::connect(form.PushButton4(), &QPushButton::clicked, form1_.get(), [this] {
        PushButton4_Click(services_.messages, services_.shell, form1_->fileList(),
                          services_.applicationFolder);
    });
    QObject::connect(form.PushButton5(), &QPushButton::clicked, form1_.get(),
                     [this] { PushButton5_Click(form1_->fileList(), form1_->pointer()); });
    QObject::connect(form.PushButton6(), &QPushButton::clicked, form1_.get(), [this] {
        PushButton6_Click(services_.messages, form1_->fileList(), form1_->pointer());
    });
    QObject::connect(form.PushButton10(), &QPushButton::clicked, form1_.get(), [this] {
        PushButton10_Click(services_.messages, form1_->fileList(), form1_->pointer());
    });
    form.ListView1()->setFolderWalkHooks(dropWalkHooks(services_.messages, walkStop_.get_token()));
}

void Program::show() {
    centreOnPointerScreen(*form1_);
    form1_->show();
}

void Program::openPaths(const QStringList& paths) {
    QStringList wholePaths;
    const QDir workingFolder = QDir::current();
    for (const QString& path : paths) {
        // An empty argument names no file; resolved, it would name the working folder.
        if (!path.isEmpty())
            wholePaths << QDir::cleanPath(workingFolder.absoluteFilePath(path));
    }
    ListView1_OLEDragDrop(wholePaths, form1_->fileList(), platformPathStyle,
                          dropWalkHooks(services_.messages, walkStop_.get_token()));
}

Program::~Program() {
    searchRun_.requestStop();
    walkStop_.request_stop();
}

Form2& Program::form2() {
    if (!form2_) {
        // "Back" puts the main window where the results window is.
        form2_ = std::make_unique<Form2>(
            services_,
            [this] {
                placeWhere(*form1_, *form2_);
                form1_->show();
            },
            [this] { end(); });
        // A save shows its steps on the main window's bar.
        form2_->setSaveProgress([this](double value, const QString& text) {
            form1_->ProgressBar1()->setValue(value);
            form1_->ProgressBar1()->setText(text);
        });
    }
    return *form2_;
}

void Program::end() {
    // A run or a walk under way stops first, so the program does not wait for work
    // nobody will see.
    searchRun_.requestStop();
    walkStop_.request_stop();
    if (endProgram_)
        endProgram_();
}

} // namespace velmora
