#include "core/common/Prompt.h"

#include "core/common/ControlText.h"

#include <QDebug>

namespace {

class LogPrompt : public Prompt {
public:
    void Show(Icon, const QString& i_sTitle, const QString& i_sText) override {
        qWarning().noquote() << ControlText::Escaped(i_sTitle) << ":"
                             << ControlText::Escaped(i_sText);
    }
    bool AskRetry(const QString& i_sTitle, const QString& i_sText) override {
        qWarning().noquote() << ControlText::Escaped(i_sTitle) << ":"
                             << ControlText::Escaped(i_sText) << "(cancelled: nobody to ask)";
        return false;
    }
};

LogPrompt g_logPrompt;
Prompt* g_pPrompt = nullptr;

} // namespace

Prompt& Prompt::Current() {
    return g_pPrompt ? *g_pPrompt : g_logPrompt;
}

void Prompt::Install(Prompt* i_pPrompt) {
    g_pPrompt = i_pPrompt;
}
