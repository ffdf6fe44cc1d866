#include "QtMessageBoxes.h"

#include "DialogParent.h"

#include <QInputDialog>
#include <QMessageBox>

namespace velmora {

QString textForDisplay(const QString& text) {
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

std::unique_ptr<QMessageBox> QtMessageBoxes::messageBox(const QString& text, Buttons buttons,
                                                        Icon icon, const QString& title) const {
    auto box = std::make_unique<QMessageBox>(dialogParent());
    box->setWindowTitle(titleFor(title));
    box->setTextFormat(Qt::PlainText); // paths may hold "<" and "&"
    box->setText(textForDisplay(text));
    box->setIcon(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (buttons == Buttons::YesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    return box;
}

MessageBoxes::Answer QtMessageBoxes::show(const QString& text, Buttons buttons, Icon icon,
                                          const QString& title) {
    const int pressed = messageBox(text, buttons, icon, title)->exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::unique_ptr<QInputDialog> QtMessageBoxes::promptDialog(const QString& text,
                                                           const QString& defaultAnswer,
                                                           const QString& title) const {
    auto dialog = std::make_unique<QInputDialog>(dialogParent());
    dialog->setWindowTitle(titleFor(title));
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setLabelText(textForDisplay(text));
    dialog->setTextValue(defaultAnswer);
    return dialog;
}

QString QtMessageBoxes::prompt(const QString& text, const QString& defaultAnswer,
                               const QString& title) {
    const auto dialog = promptDialog(text, defaultAnswer, title);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return dialog->textValue();
}

} // namespace velmora
