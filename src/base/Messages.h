#pragma once
// How the core talks to the user: modal messages and the two kinds of confirmation.
// The editor shows message boxes, tesk-cli prints to stderr, tests record the texts.

#include <string>
#include <vector>

namespace tesk {

/// The answer to the question asked before unsaved work would be lost.
enum class SaveChoice { Save, Discard, Cancel };

class Messages {
public:
    virtual ~Messages() = default;
    /// A message with an OK button. Text is UTF-8.
    virtual void inform(const std::string& text) = 0;
    /// OK / Cancel; true for OK.
    virtual bool okCancel(const std::string& text) = 0;
    /// Yes / No; true for Yes.
    virtual bool yesNo(const std::string& text) = 0;
    /// Save / Discard / Cancel, asked before unsaved work would be lost.
    virtual SaveChoice saveDiscardCancel(const std::string& text) = 0;
};

/// Keeps every text shown and answers confirmations from a script (default: the given answer).
class RecordingMessages : public Messages {
public:
    explicit RecordingMessages(bool answer = true) : m_answer(answer) {}

    void inform(const std::string& text) override { texts.push_back(text); }
    bool okCancel(const std::string& text) override { return answerFor(text); }
    bool yesNo(const std::string& text) override { return answerFor(text); }
    /// Answers from scriptedChoices, else Discard for a default answer of true and Cancel
    /// for false.
    SaveChoice saveDiscardCancel(const std::string& text) override {
        texts.push_back(text);
        if (!scriptedChoices.empty()) {
            const SaveChoice choice = scriptedChoices.front();
            scriptedChoices.erase(scriptedChoices.begin());
            return choice;
        }
        return m_answer ? SaveChoice::Discard : SaveChoice::Cancel;
    }

    /// Answers for the next confirmations, used front to back before the default.
    std::vector<bool> scriptedAnswers;
    std::vector<SaveChoice> scriptedChoices;
    std::vector<std::string> texts;

    void setDefaultAnswer(bool answer) { m_answer = answer; }

private:
    bool answerFor(const std::string& text) {
        texts.push_back(text);
        if (!scriptedAnswers.empty()) {
            const bool answer = scriptedAnswers.front();
            scriptedAnswers.erase(scriptedAnswers.begin());
            return answer;
        }
        return m_answer;
    }
    bool m_answer;
};

/// Prints every message to stderr and answers every confirmation with no (Cancel).
class StderrMessages : public Messages {
public:
    void inform(const std::string& text) override;
    bool okCancel(const std::string& text) override;
    bool yesNo(const std::string& text) override;
    SaveChoice saveDiscardCancel(const std::string& text) override;
};

} // namespace tesk
