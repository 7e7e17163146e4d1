#pragma once

#include "mapping/predownload_checks.h"

#include <string>

namespace torvane {

// Gives the same answer to every bus-load question and remembers the questions asked.
class FixedCycleAnswer : public CycleQuestioner {
public:
    explicit FixedCycleAnswer(bool answerOk) : answerOk_(answerOk) {}
    bool askToContinue(const CycleQuestion& question) override {
        ++asked_;
        lastQuestion_ = question.text.english();
        return answerOk_;
    }
    int asked() const { return asked_; }
    const std::string& lastQuestion() const { return lastQuestion_; }

private:
    bool answerOk_;
    int asked_ = 0;
    std::string lastQuestion_;
};

} // namespace torvane
