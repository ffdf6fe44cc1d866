#pragma once

#include "FileList.h"
#include "FileListView.h"
#include "HoverPointerRules.h"
#include "ProgressBar.h"
#include "SearchOptions.h"
#include "Services.h"
#include "SettingsStore.h"
#include "WindowPointer.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace velmora {

// The main window: the file list, the buttons that fill, filter and clear it, the options
// of the comparison and the progress bar, laid out at fixed places. Every option change is
// stored at once; closing the window ends the program.
class Form1 : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* productTitle = "Velmora";
    static constexpr int clientWidthTwips = 8040;
    static constexpr int clientHeightTwips = 6870;

    // endProgram runs when the window is closed; the program passes what quits it.
    Form1(Services& services, SettingsStore& settings, std::function<void()> endProgram,
          QWidget* parent = nullptr);

    Services& services() const { return services_; }
    SettingsStore& settings() const { return settings_; }
    WindowPointer& pointer() { return pointer_; }
    FileList& fileList() { return fileList_; }

    FileListView* ListView1() const { return listView1_; }
    QPushButton* PushButton1() const { return pushButton1_; }
    QPushButton* PushButton2() const { return pushButton2_; }
    QPushButton* PushButton3() const { return pushButton3_; }
    QPushButton* PushButton4() const { return pushButton4_; }
    QPushButton* PushButton5() const { return pushButton5_; }
    QPushButton* PushButton6() const { return pushButton6_; }
    QPushButton* PushButton10() const { return pushButton10_; }
    QGroupBox* Frame1() const { return frame1_; }
    QCheckBox* Check1() const { return check1_; }
    QCheckBox* Check2() const { return check2_; }
    QCheckBox* Check3() const { return check3_; }
    QLineEdit* Text1() const { return text1_; }
    QLineEdit* Text2() const { return text2_; }
    ProgressBar* ProgressBar1() const { return progressBar1_; }

    // The option values as the controls show them now.
    SearchOptions options() const;

    bool isSkinned() const { return skinned_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void nameForScreenReaders();
    void placeControls();
    void paintCheckBoxes(const QColor& background);
    void connectOptions();
    void watchHover();
    void Form_Load();

    void CheckBox_Click(QCheckBox& box, QLineEdit* text);

    QRect twips(int left, int top, int width, int height) const;
    QString supportFile(const QString& relative) const;

    Services& services_;
    SettingsStore& settings_;
    std::function<void()> endProgram_;
    WindowPointer pointer_;
    HoverPointerRules hoverRules_;
    FileList fileList_;
    bool skinned_ = false;

    FileListView* listView1_ = nullptr;
    QPushButton* pushButton1_ = nullptr;
    QPushButton* pushButton2_ = nullptr;
    QPushButton* pushButton3_ = nullptr;
    QPushButton* pushButton4_ = nullptr;
    QPushButton* pushButton5_ = nullptr;
    QPushButton* pushButton6_ = nullptr;
    QPushButton* pushButton10_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    ProgressBar* progressBar1_ = nullptr;
};

} // namespace velmora
