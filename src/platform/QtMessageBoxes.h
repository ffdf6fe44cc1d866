#pragma once

#include "MessageBoxes.h"

namespace velmora {

// Real modal boxes, owned by the active window. The application title is the
// application's display name, which start-up sets.
class QtMessageBoxes : public MessageBoxes {
public:
    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    QString prompt(const QString& text, const QString& defaultAnswer,
                   const QString& title) override;
};

// Message texts separate their lines with CR (and sometimes CR LF); a plain-text label
// breaks lines only at LF.
QString textForDisplay(const QString& text);

// The given title, or the application title when it is empty.
QString titleOrApplicationTitle(const QString& title);

} // namespace velmora
