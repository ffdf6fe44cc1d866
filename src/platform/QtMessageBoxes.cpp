#include "QtMessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace velmora {

QString textForDisplay(const QString& text) {
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

QString titleOrApplicationTitle(const QString& title) {
    return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

MessageBoxes::Answer QtMessageBoxes::show(const QString& text, Buttons buttons, Icon icon,
                                          const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(titleOrApplicationTitle(title));
    box.setTextFormat(Qt::PlainText); // paths may hold "<" and "&"
    box.setText(textForDisplay(text));
    box.setIcon(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int pressed = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtMessageBoxes::prompt(const QString& text, const QString& defaultAnswer,
                               const QString& title) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titleOrApplicationTitle(title));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(textForDisplay(text));
    dialog.setTextValue(defaultAnswer);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

} // namespace velmora
