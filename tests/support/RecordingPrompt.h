#pragma once

#include "core/common/Prompt.h"

#include <QStringList>
#include <deque>
#include <vector>

// Records every message instead of showing it; answers questions from a script (Cancel when
// the script is empty). Installed for the lifetime of the object.
class RecordingPrompt : public Prompt {
public:
    struct Entry {
        Icon icon;
        QString title;
        QString text;
        bool question;
    };

    RecordingPrompt() { Prompt::Install(this); }
    ~RecordingPrompt() override { Prompt::Install(nullptr); }
    RecordingPrompt(const RecordingPrompt&) = delete;
    RecordingPrompt& operator=(const RecordingPrompt&) = delete;

    void Show(Icon i_eIcon, const QString& i_sTitle, const QString& i_sText) override {
        entries.push_back({i_eIcon, i_sTitle, i_sText, false});
    }

    bool AskRetry(const QString& i_sTitle, const QString& i_sText) override {
        entries.push_back({Icon::Exclamation, i_sTitle, i_sText, true});
        if (retryAnswers.empty()) {
            return false;
        }
        const bool answer = retryAnswers.front();
        retryAnswers.pop_front();
        return answer;
    }

    QStringList Texts() const {
        QStringList out;
        for (const Entry& e : entries) {
            out << e.text;
        }
        return out;
    }

    std::vector<Entry> entries;
    std::deque<bool> retryAnswers;
};
