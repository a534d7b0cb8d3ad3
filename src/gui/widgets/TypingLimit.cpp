#include "gui/widgets/TypingLimit.h"

#include <QLineEdit>
#include <QVariant>
#include <algorithm>

namespace {

constexpr const char* kLimit = "typingLimit";

int limitOf(const QLineEdit* i_pBox) {
    const QVariant limit = i_pBox->property(kLimit);
    return limit.isValid() ? limit.toInt() : i_pBox->maxLength();
}

} // namespace

namespace TypingLimit {

void Set(QLineEdit* i_pBox, int i_iLimit) {
    if (!i_pBox->property(kLimit).isValid()) {
        QObject::connect(i_pBox, &QLineEdit::textEdited, i_pBox, [i_pBox](const QString& i_sText) {
            const int limit = limitOf(i_pBox);
            if (i_sText.size() <= limit) {
                i_pBox->setMaxLength(limit);
            }
        });
    }
    i_pBox->setProperty(kLimit, i_iLimit);
    i_pBox->setMaxLength(i_iLimit);
}

void ShowWhole(QLineEdit* i_pBox, const QString& i_sText) {
    const int limit = limitOf(i_pBox);
    i_pBox->setMaxLength(std::max(limit, static_cast<int>(i_sText.size())));
    i_pBox->setText(i_sText);
    if (i_sText.size() <= limit) {
        i_pBox->setMaxLength(limit);
    }
}

} // namespace TypingLimit
