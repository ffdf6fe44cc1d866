#pragma once

#include "ContentCheck.h"
#include "HoverPointerRules.h"
#include "ResultsList.h"
#include "Services.h"
#include "TrashUndo.h"
#include "WindowPointer.h"
#include "WriteProgress.h"

#include <QWidget>

#include <functional>

class QPushButton;
class QShortcut;
class QTableView;

namespace velmora {

// The results window: the list of files found, each with its tick, and the buttons that
// act on them. It is created once and lives until the program ends; "Back" only hides it,
// and closing it ends the program.
class Form2 : public QWidget {
    Q_OBJECT

public:
    // showMainWindow brings the main window back for "Back". endProgram runs when the user
    // closes this window; without one, the application's event loop ends.
    Form2(Services& services, std::function<void()> showMainWindow,
          std::function<void()> endProgram = {}, QWidget* parent = nullptr);

    ResultsList& resultsList() { return resultsList_; }
    TrashUndo& trashUndo() { return trashUndo_; }
    WindowPointer& pointer() { return pointer_; }
    Services& services() { return services_; }
    ContentCheck& contentCheck() { return contentCheck_; }

    QTableView& ListView1() { return *listView1_; }
    QPushButton& PushButton1() { return *pushButton1_; }
    QPushButton& PushButton5() { return *pushButton5_; }
    QPushButton& PushButton3() { return *pushButton3_; }
    QPushButton& PushButton2() { return *pushButton2_; }
    QPushButton& PushButton6() { return *pushButton6_; }
    QPushButton& PushButton18() { return *pushButton18_; }
    // Ctrl+Z: takes the last trash action back.
    QShortcut& UndoShortcut() { return *undoShortcut_; }

    // Where a save shows its steps: the main window's progress bar, handed in by the
    // program, since this layer knows nothing of the main window.
    void setSaveProgress(WriteProgress progress) { saveProgress_ = std::move(progress); }
    const WriteProgress& saveProgress() const { return saveProgress_; }

    // A new run's rows are read from their start, whatever the last run's list showed.
    void scrollToTopLeft();

    void PushButton1_Click();
    void PushButton5_Click();
    void PushButton3_Click();
    void PushButton2_Click();
    void PushButton6_Click();
    void PushButton18_Click();
    void UndoLastTrash();

    // Converts a layout coordinate in twips to this window's pixels.
    int horizontalPixels(int twips) const;
    int verticalPixels(int twips) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    QPushButton* createButton(const char* name, const QString& caption, int left, int top);
    void place(QWidget& control, int left, int top, int width, int height);
    void Form_Load();
    void setAllChecked(const char* procedure, bool checked);

    Services& services_;
    std::function<void()> showMainWindow_;
    std::function<void()> endProgram_;
    ResultsList resultsList_;
    TrashUndo trashUndo_{resultsList_};
    ContentCheck contentCheck_{resultsList_};
    WriteProgress saveProgress_;
    WindowPointer pointer_;
    HoverPointerRules hoverRules_;

    QTableView* listView1_ = nullptr;
    QPushButton* pushButton1_ = nullptr;
    QPushButton* pushButton5_ = nullptr;
    QPushButton* pushButton3_ = nullptr;
    QPushButton* pushButton2_ = nullptr;
    QPushButton* pushButton6_ = nullptr;
    QPushButton* pushButton18_ = nullptr;
    QShortcut* undoShortcut_ = nullptr;
};

} // namespace velmora
