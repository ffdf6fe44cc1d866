#include "Form1.h"

#include "ApplicationTitle.h"
#include "CaptionFit.h"
#include "CheckValue.h"
#include "ErrorTrap.h"
#include "FileSystem.h"
#include "ReturnPressesButtons.h"
#include "Skin.h"
#include "Twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

namespace velmora {

namespace {

// The blank runs leave room for the text box that sits over them, so each row reads as
// one sentence with the characters in the box.
const QString check1Before = QStringLiteral("Consider everything before:");
const QString check2Before = QStringLiteral("Consider everything after:");
const QString checkAfter = QStringLiteral("character/s when finding partial duplicates");
const QString check1Caption = check1Before + QString(24, u' ') + checkAfter;
const QString check2Caption = check2Before + QString(27, u' ') + checkAfter;

QFont windowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

QFont buttonFont() {
    QFont font = windowFont();
    font.setPointSizeF(11.25);
    return font;
}

// Every size a panel, title bar or task switcher may ask for, so none is scaled from
// another.
QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/velmora/icons/%1x%1/velmora.png").arg(size),
                     QSize(size, size));
    return icon;
}

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

} // namespace

Form1::Form1(Services& services, SettingsStore& settings, std::function<void()> endProgram,
             QWidget* parent)
    : QWidget(parent), services_(services), settings_(settings), endProgram_(std::move(endProgram)),
      pointer_(*this), hoverRules_(pointer_, this) {
    setObjectName(QStringLiteral("Form1"));
    setFont(windowFont());
    createControls();
    placeControls();
    applyPlainLook(*this);
    connectOptions();
    watchHover();
    Form_Load();
}

void Form1::createControls() {
    listView1_ = new FileListView(fileList_, this);
    listView1_->setApplicationFolder(services_.applicationFolder);
    listView1_->setBusyQuery([this] { return pointer_.isBusy(); });
    listView1_->setHoverHandler([this] { pointer_.hoverOther(); });

    const auto button = [this](const char* name, const char* caption) {
        auto* created = new QPushButton(QString::fromLatin1(caption), this);
        created->setObjectName(QString::fromLatin1(name));
        created->setFont(buttonFont());
        created->setAutoDefault(false);
        return created;
    };
    // Creation order is the tab order.
    pushButton1_ = button("PushButton1", "Add File(s)");
    pushButton3_ = button("PushButton3", "Add All File(s) In Folder");
    pushButton5_ = button("PushButton5", "Clear List");
    pushButton4_ = button("PushButton4", "Load Sample/Example Files");
    pushButton6_ = button("PushButton6", "Remove Filenames Containing X");
    pushButton10_ = button("PushButton10", "Remove Filenames Not Cont. X");

    frame1_ = new QGroupBox(QStringLiteral("Options"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    check1_ = new QCheckBox(check1Caption, frame1_);
    check1_->setObjectName(QStringLiteral("Check1"));
    text1_ = new QLineEdit(QStringLiteral("a"), frame1_);
    text1_->setObjectName(QStringLiteral("Text1"));
    check2_ = new QCheckBox(check2Caption, frame1_);
    check2_->setObjectName(QStringLiteral("Check2"));
    text2_ = new QLineEdit(QStringLiteral("b"), frame1_);
    text2_->setObjectName(QStringLiteral("Text2"));
    check3_ = new QCheckBox(
        QStringLiteral("Do not consider file extension when finding partial duplicates"), frame1_);
    check3_->setObjectName(QStringLiteral("Check3"));

    pushButton2_ = button("PushButton2", "Start Finding");
    progressBar1_ = new ProgressBar(this);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setText(QStringLiteral("Progress Bar"));
    progressBar1_->setValue(0);
    new ReturnPressesButtons(*this);
    nameForScreenReaders();
    // Under a skin's style sheet a control no longer inherits the window's font, and the
    // captions would turn plain and lose their room: each control holds it as its own.
    for (QWidget* control : findChildren<QWidget*>())
        if (!control->testAttribute(Qt::WA_SetFont))
            control->setFont(windowFont());
}

// A reader would call both text boxes "Options" after their frame, and read the blank runs
// that make room for them in the captions.
void Form1::nameForScreenReaders() {
    listView1_->setAccessibleName(QStringLiteral("File list"));
    text1_->setAccessibleName(QStringLiteral("Text before which names are compared"));
    text2_->setAccessibleName(QStringLiteral("Text after which names are compared"));
    for (QCheckBox* box : {check1_, check2_, check3_})
        box->setAccessibleName(box->text().simplified());
}

QRect Form1::twips(int left, int top, int width, int height) const {
    return twipsRect(left, top, width, height, logicalDpiX(), logicalDpiY());
}

void Form1::placeControls() {
    setFixedSize(twipsToPixels(clientWidthTwips, logicalDpiX()),
                 twipsToPixels(clientHeightTwips, logicalDpiY()));
    listView1_->setGeometry(twips(120, 120, 7800, 2325));
    pushButton1_->setGeometry(twips(120, 2540, 3840, 405));
    pushButton3_->setGeometry(twips(4080, 2540, 3840, 405));
    pushButton5_->setGeometry(twips(120, 3050, 3840, 405));
    pushButton4_->setGeometry(twips(4080, 3050, 3840, 405));
    pushButton6_->setGeometry(twips(120, 3560, 3840, 405));
    pushButton10_->setGeometry(twips(4080, 3560, 3840, 405));
    frame1_->setGeometry(twips(120, 4000, 7800, 1680));
    // Inside the frame, in the frame's coordinates.
    check1_->setGeometry(twips(240, 300, 7455, 285));
    text1_->setGeometry(twips(2940, 265, 825, 345));
    check2_->setGeometry(twips(240, 750, 7335, 285));
    text2_->setGeometry(twips(2940, 715, 825, 345));
    check3_->setGeometry(twips(240, 1200, 5535, 285));
    // With this platform's wider check mark the two long captions would lose their last
    // letters; they may use the frame up to its inner edge, and a tighter gap after the mark.
    paintCheckBoxes(Qt::white); // the plain look; the skin has its own colour
    for (QCheckBox* box : {check1_, check2_}) {
        const int room = frame1_->contentsRect().right() - box->x();
        box->resize(std::clamp(box->sizeHint().width(), box->width(), std::max(box->width(), room)),
                    box->height());
    }
    // The text boxes lie over their check box's caption and must take the clicks there.
    text1_->raise();
    text2_->raise();
    pushButton2_->setGeometry(twips(120, 5820, 7800, 405));
    progressBar1_->setGeometry(twips(120, 6340, 7800, 405));
    fitCaptionAroundTextBox(*check1_, *text1_, check1Before, checkAfter);
    fitCaptionAroundTextBox(*check2_, *text2_, check2Before, checkAfter);
    for (QAbstractButton* control : findChildren<QAbstractButton*>())
        if (control != check1_ && control != check2_)
            shrinkCaptionToFit(*control);
}

void Form1::paintCheckBoxes(const QColor& background) {
    // The style sheet that narrows the gap paints the box's background from its own
    // colour rather than from the palette, so the colour is given here too.
    for (QCheckBox* box : {check1_, check2_, check3_}) {
        box->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; background-color: %1; }")
                               .arg(background.name()));
    }
}

void Form1::connectOptions() {
    connect(check1_, &QCheckBox::clicked, this, [this] { CheckBox_Click(*check1_, text1_); });
    connect(check2_, &QCheckBox::clicked, this, [this] { CheckBox_Click(*check2_, text2_); });
    connect(check3_, &QCheckBox::clicked, this, [this] { CheckBox_Click(*check3_, nullptr); });
    connect(text1_, &QLineEdit::textEdited, this,
            [this](const QString& text) { settings_.write(QStringLiteral("Text1"), text); });
    connect(text2_, &QLineEdit::textEdited, this,
            [this](const QString& text) { settings_.write(QStringLiteral("Text2"), text); });
    text1_->installEventFilter(this);
    text2_->installEventFilter(this);
}

void Form1::watchHover() {
    for (QPushButton* button : {pushButton1_, pushButton2_, pushButton3_, pushButton4_,
                                pushButton5_, pushButton6_, pushButton10_})
        hoverRules_.watch(button, HoverPointerRules::Role::Button);
    // The check boxes and the progress bar have no hover rule: over them the pointer stays
    // as it was.
    for (QWidget* other : {static_cast<QWidget*>(this), static_cast<QWidget*>(frame1_),
                           static_cast<QWidget*>(text1_), static_cast<QWidget*>(text2_),
                           static_cast<QWidget*>(listView1_->header())})
        hoverRules_.watch(other, HoverPointerRules::Role::Other);
}

QString Form1::supportFile(const QString& relative) const {
    return services_.applicationFolder + QLatin1Char('/') + relative;
}

void Form1::Form_Load() {
    ErrorTrap trap(services_.messages, QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    trap.step(100, [&] {
        const QString skin = supportFile(QStringLiteral("x/o.cjs"));
        if (FileIsPresent(skin)) {
            applySkin(*this, skin);
            paintCheckBoxes(QApplication::palette().color(QPalette::Button));
            keepCaptionsReadable(*this);
            skinned_ = true;
        }
    });
    trap.step(102, [&] { setWindowTitle(QString::fromLatin1(productTitle)); });
    trap.step(104, [&] {
        const QIcon icon = applicationIcon();
        if (icon.availableSizes().isEmpty())
            throw std::runtime_error("File not found");
        // Set for the whole program, so the results window has it too.
        QApplication::setWindowIcon(icon);
        setWindowIcon(icon);
    });
    trap.step(106, [&] {
        services_.messages.setApplicationTitle(
            MakeApplicationTitle(QString::fromLatin1(productTitle)));
    });
    trap.step(108, [&] {
        const QString hand = supportFile(QStringLiteral("HAND-M.CUR"));
        if (FileIsPresent(hand)) {
            pointer_.loadCustomShape(hand);
            if (!pointer_.hasCustomShape())
                throw std::runtime_error("Invalid picture");
        }
    });
    trap.step(110, [&] {
        QHeaderView* columns = listView1_->header();
        columns->resizeSection(FileList::PathColumn, twipsToPixels(7000, logicalDpiX()));
        columns->resizeSection(FileList::HashColumn, 0);
    });
    // One step per value, so a damaged one does not keep the others from being restored.
    trap.step(112, [&] {
        setCheckValue(*check1_,
                      textToInteger(settings_.read(QStringLiteral("Check1"), QStringLiteral("0"))));
    });
    trap.step(114, [&] {
        setCheckValue(*check2_,
                      textToInteger(settings_.read(QStringLiteral("Check2"), QStringLiteral("0"))));
    });
    trap.step(116, [&] {
        setCheckValue(*check3_,
                      textToInteger(settings_.read(QStringLiteral("Check3"), QStringLiteral("0"))));
    });
    trap.step(118, [&] {
        text1_->setText(settings_.read(QStringLiteral("Text1"), QStringLiteral("a")));
    });
    trap.step(120, [&] {
        text2_->setText(settings_.read(QStringLiteral("Text2"), QStringLiteral("b")));
    });
    trap.step(122, [&] {
        text1_->setEnabled(checkValue(*check1_) == 1);
        text2_->setEnabled(checkValue(*check2_) == 1);
    });
}

void Form1::CheckBox_Click(QCheckBox& box, QLineEdit* text) {
    endGreyedState(box);
    const int value = checkValue(box);
    settings_.write(box.objectName(), QString::number(value));
    if (text)
        text->setEnabled(value == 1);
}

SearchOptions Form1::options() const {
    SearchOptions options;
    options.Check1 = checkValue(*check1_);
    options.Text1 = text1_->text();
    options.Check2 = checkValue(*check2_);
    options.Text2 = text2_->text();
    options.Check3 = checkValue(*check3_);
    return options;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text1_ && event->type() == QEvent::KeyPress) {
        // Whatever is typed replaces the whole text, and Backspace empties the box.
        if (!isModifierKey(static_cast<QKeyEvent*>(event)->key()))
            text1_->selectAll();
    } else if (watched == text2_ && event->type() == QEvent::FocusIn) {
        text2_->selectAll();
        // A click places the caret after focus arrives; select again once it has.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, text2_, [text = text2_] { text->selectAll(); });
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    if (endProgram_)
        endProgram_();
}

} // namespace velmora
