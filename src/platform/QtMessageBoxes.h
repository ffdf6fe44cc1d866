#pragma once

#include "MessageBoxes.h"

#include <memory>

class QInputDialog;
class QMessageBox;

namespace velmora {

// Real modal boxes, opened over the window the user is working in (dialogParent).
class QtMessageBoxes : public MessageBoxes {
public:
    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    QString prompt(const QString& text, const QString& defaultAnswer,
                   const QString& title) override;

    // The box and the prompt as show and prompt run them, ready to be opened.
    std::unique_ptr<QMessageBox> messageBox(const QString& text, Buttons buttons, Icon icon,
                                            const QString& title) const;
    std::unique_ptr<QInputDialog> promptDialog(const QString& text, const QString& defaultAnswer,
                                               const QString& title) const;
};

// Message texts separate their lines with CR (and sometimes CR LF); a plain-text label
// breaks lines only at LF.
QString textForDisplay(const QString& text);

} // namespace velmora
