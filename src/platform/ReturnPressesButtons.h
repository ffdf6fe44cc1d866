#pragma once

#include <QObject>

class QWidget;

namespace velmora {

// Return and Enter press the focused button as Space does. The toolkit gives them to
// buttons only inside dialogs; users of this desktop expect them in every window.
class ReturnPressesButtons : public QObject {
public:
    // Watches the push buttons `window` holds now; owned by the window.
    explicit ReturnPressesButtons(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace velmora
