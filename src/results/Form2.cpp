#include "Form2.h"

#include "ApplyButtonFaceColors.h"
#include "CaptionFit.h"
#include "CopyResults.h"
#include "ErrorTrap.h"
#include "FileSystem.h"
#include "HoverPointerRules.h"
#include "ReturnPressesButtons.h"
#include "RowContextMenu.h"
#include "SaveResults.h"
#include "SendToTrash.h"
#include "SidewaysWheel.h"
#include "Yield.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QTableView>

#include <utility>

namespace velmora {

namespace {

constexpr int twipsPerInch = 1440;
constexpr int clientWidth = 8040;
constexpr int clientHeight = 5610;
constexpr int fileColumnWidth = 7000;
constexpr int buttonWidth = 3840;
constexpr int buttonHeight = 405;
// A save reports every ticked row; letting the window system in that often would cost
// more than the writing, so it gets a turn every few hundredths of a second instead.
constexpr qint64 yieldIntervalMilliseconds = 30;

int twipsToPixels(int twips, int dotsPerInch) {
    return qRound(static_cast<double>(twips) * dotsPerInch / twipsPerInch);
}

QFont arialBold(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

} // namespace

Form2::Form2(Services& services, std::function<void()> showMainWindow,
             std::function<void()> endProgram, QWidget* parent)
    : QWidget(parent), services_(services), showMainWindow_(std::move(showMainWindow)),
      endProgram_(std::move(endProgram)), pointer_(*this), hoverRules_(pointer_) {
    setObjectName(QStringLiteral("Form2"));
    createControls();
    Form_Load();
}

int Form2::horizontalPixels(int twips) const {
    return twipsToPixels(twips, logicalDpiX());
}

int Form2::verticalPixels(int twips) const {
    return twipsToPixels(twips, logicalDpiY());
}

void Form2::place(QWidget& control, int left, int top, int width, int height) {
    control.setGeometry(horizontalPixels(left), verticalPixels(top), horizontalPixels(width),
                        verticalPixels(height));
}

QPushButton* Form2::createButton(const char* name, const QString& caption, int left, int top) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(arialBold(11.25));
    place(*button, left, top, buttonWidth, buttonHeight);
    shrinkCaptionToFit(*button);
    hoverRules_.watch(button, HoverPointerRules::Role::Button);
    return button;
}

void Form2::createControls() {
    setFont(arialBold(9));
    setFixedSize(horizontalPixels(clientWidth), verticalPixels(clientHeight));
    hoverRules_.watch(this, HoverPointerRules::Role::Other);

    // A table rather than a tree: the tree re-measures every row a change covers, which
    // makes ticking a million rows at once several times slower.
    listView1_ = new QTableView(this);
    listView1_->setObjectName(QStringLiteral("ListView1"));
    listView1_->setAccessibleName(QStringLiteral("Results"));
    listView1_->setFont(arialBold(9));
    listView1_->setToolTip(resultsListHint());
    listView1_->verticalHeader()->hide();
    listView1_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    listView1_->verticalHeader()->setDefaultSectionSize(listView1_->fontMetrics().height() + 4);
    listView1_->setShowGrid(false);
    listView1_->setWordWrap(false);
    // Alike names differ at their ends (" (1)", "v2", "final"): a path cut short keeps them.
    listView1_->setTextElideMode(Qt::ElideMiddle);
    // Tab leaves the list for the buttons instead of walking its rows.
    listView1_->setTabKeyNavigation(false);
    listView1_->setSelectionMode(QAbstractItemView::SingleSelection);
    listView1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    listView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView1_->setDragDropMode(QAbstractItemView::NoDragDrop);
    listView1_->setAcceptDrops(false);
    listView1_->horizontalHeader()->setStretchLastSection(false);
    listView1_->horizontalHeader()->setHighlightSections(false);
    listView1_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // With its one column, a list scrolled column by column could never show the end of a
    // path wider than the view: it scrolls by pixels, so dragging the divider past the
    // right edge brings the sideways scroll bar.
    listView1_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    new SidewaysWheel(*listView1_);
    new RowContextMenu(*listView1_, resultsList_, services_);
    place(*listView1_, 120, 120, 7800, 3915);
    hoverRules_.watch(listView1_, HoverPointerRules::Role::Other);
    hoverRules_.watch(listView1_->viewport(), HoverPointerRules::Role::Other);
    hoverRules_.watch(listView1_->horizontalHeader(), HoverPointerRules::Role::Other);

    pushButton1_ = createButton("PushButton1", QStringLiteral("Back"), 120, 4130);
    pushButton5_ = createButton("PushButton5", QStringLiteral("Check All"), 4080, 4130);
    pushButton3_ = createButton("PushButton3", QStringLiteral("Uncheck All"), 120, 4640);
    pushButton2_ = createButton("PushButton2", QStringLiteral("Send To Recycle Bin"), 4080, 4640);
    pushButton2_->setToolTip(QStringLiteral("Ctrl+Z in this window puts the last files back"));
    pushButton6_ =
        createButton("PushButton6", QStringLiteral("Save Results As Text File"), 120, 5150);
    pushButton18_ =
        createButton("PushButton18", QStringLiteral("Copy Results To Clipboard"), 4080, 5150);

    setTabOrder(listView1_, pushButton1_);
    setTabOrder(pushButton1_, pushButton5_);
    setTabOrder(pushButton5_, pushButton3_);
    setTabOrder(pushButton3_, pushButton2_);
    setTabOrder(pushButton2_, pushButton6_);
    setTabOrder(pushButton6_, pushButton18_);

    connect(pushButton1_, &QPushButton::clicked, this, &Form2::PushButton1_Click);
    connect(pushButton5_, &QPushButton::clicked, this, &Form2::PushButton5_Click);
    connect(pushButton3_, &QPushButton::clicked, this, &Form2::PushButton3_Click);
    connect(pushButton2_, &QPushButton::clicked, this, &Form2::PushButton2_Click);
    connect(pushButton6_, &QPushButton::clicked, this, &Form2::PushButton6_Click);
    connect(pushButton18_, &QPushButton::clicked, this, &Form2::PushButton18_Click);

    new ReturnPressesButtons(*this);

    undoShortcut_ = new QShortcut(QKeySequence::Undo, this);
    undoShortcut_->setObjectName(QStringLiteral("UndoShortcut"));
    undoShortcut_->setContext(Qt::WindowShortcut);
    connect(undoShortcut_, &QShortcut::activated, this, &Form2::UndoLastTrash);
}

void Form2::Form_Load() {
    ErrorTrap trap(services_.messages, QStringLiteral("Form2"), QStringLiteral("Form_Load"));
    trap.step(100, [&] { ApplyButtonFaceColors(*this); });
    trap.step(102, [&] { setWindowTitle(QStringLiteral("Velmora")); });
    trap.step(104, [&] { setWindowIcon(QApplication::windowIcon()); });
    trap.step(106, [&] {
        // Without the cursor file the buttons simply keep the default pointer.
        if (services_.applicationFolder.isEmpty())
            return;
        const QString cursorFile = QDir(services_.applicationFolder).filePath("HAND-M.CUR");
        if (FileIsPresent(cursorFile))
            pointer_.loadCustomShape(cursorFile);
    });
    trap.step(108, [&] { listView1_->setModel(&resultsList_); });
    trap.step(110, [&] {
        listView1_->horizontalHeader()->resizeSection(0, horizontalPixels(fileColumnWidth));
    });
}

void Form2::scrollToTopLeft() {
    listView1_->scrollToTop();
    listView1_->horizontalScrollBar()->setValue(0);
}

void Form2::PushButton1_Click() {
    ErrorTrap trap(services_.messages, QStringLiteral("Form2"),
                   QStringLiteral("PushButton1_Click"));
    // The main window comes first, so there is never a moment with no window on screen.
    trap.step(100, [&] {
        if (showMainWindow_)
            showMainWindow_();
    });
    trap.step(102, [&] { hide(); });
    // The rows may be replaced by the next search; reading on would only load the disk.
    trap.step(104, [&] { contentCheck_.stop(); });
}

void Form2::PushButton5_Click() {
    setAllChecked("PushButton5_Click", true);
}

void Form2::PushButton3_Click() {
    setAllChecked("PushButton3_Click", false);
}

void Form2::setAllChecked(const char* procedure, bool checked) {
    ErrorTrap trap(services_.messages, QStringLiteral("Form2"), QString::fromLatin1(procedure));
    int count = 0;
    trap.step(100, [&] { count = resultsList_.Count(); });
    trap.step(102, [&] {
        if (count > 0)
            resultsList_.setCheckedRange(1, count, checked);
    });
}

// The actions below are not started while one of them shows the hourglass: a save lets
// the window system in now and then, and a click arriving then must not cut the list the
// save is still reading, nor start a second save of the same file.
void Form2::PushButton2_Click() {
    if (pointer_.isBusy())
        return;
    SendTickedFilesToTrash(resultsList_, services_.messages, services_.shell, trashUndo_);
}

void Form2::PushButton6_Click() {
    if (pointer_.isBusy())
        return;
    QElapsedTimer sinceYield;
    sinceYield.start();
    const WriteProgress progress = [&](double value, const QString& text) {
        if (saveProgress_)
            saveProgress_(value, text);
        if (sinceYield.elapsed() >= yieldIntervalMilliseconds) {
            yieldToWindowSystem();
            sinceYield.restart();
        }
    };
    SaveResultsAsTextFile(resultsList_, services_, pointer_, progress);
}

void Form2::PushButton18_Click() {
    if (pointer_.isBusy())
        return;
    CopyResultsToClipboard(resultsList_, services_.clipboard, services_.messages, pointer_);
}

void Form2::UndoLastTrash() {
    if (pointer_.isBusy())
        return;
    ErrorTrap trap(services_.messages, QStringLiteral("Form2"), QStringLiteral("UndoLastTrash"));
    TrashUndo::Report report;
    trap.step(100, [&] { report = trashUndo_.undo(); });
    trap.step(102, [&] {
        if (!report.notRestored.isEmpty())
            services_.messages.show(TrashUndo::notRestoredText(report.notRestored),
                                    MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
    });
}

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window brought back from the task bar is shown again by the window system; only
    // the program's own showing starts reading.
    if (!event->spontaneous())
        contentCheck_.startIfNeeded();
}

void Form2::closeEvent(QCloseEvent* event) {
    // Closing the results window ends the program at once, hidden main window and all.
    event->accept();
    contentCheck_.stop();
    if (endProgram_)
        endProgram_();
    else
        QCoreApplication::exit(0);
}

} // namespace velmora
