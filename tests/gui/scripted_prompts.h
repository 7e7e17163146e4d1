#pragma once

#include "gui/editor/prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace torvane::gui::test {

// Answers every dialog from a script and records every message, so no test ever waits on a
// window. An unscripted question is answered with Cancel and recorded as a fault.
class ScriptedPrompts final : public Prompts {
public:
    std::deque<std::optional<int>> configTypes;
    std::deque<std::optional<int>> configFormats;
    std::deque<SaveAnswer> saveAnswers;
    std::deque<std::optional<std::string>> files;
    std::deque<bool> okCancel;
    std::deque<SaveAnswer> yesNoCancel;
    std::deque<std::vector<std::string>> deviceFiles;

    std::vector<std::string> told;       // every message text in English, in order
    std::vector<Message> toldMessages;   // the same messages as they were given
    std::vector<std::string> unexpected; // questions asked without a scripted answer
    std::vector<FileDialogRequest> fileRequests;
    int saveQuestions = 0;

    std::vector<std::string> asked; // Yes/No/Cancel questions, in order

    std::optional<int> askConfigType() override { return next(configTypes, "config type"); }
    std::optional<int> askConfigFormat() override { return next(configFormats, "config format"); }
    bool askSaveDropping(const std::vector<DroppedField>& /*fields*/) override {
        unexpected.emplace_back("XML drops question");
        return false;
    }
    SaveAnswer askSaveChanges(SaveReason /*reason*/) override {
        ++saveQuestions;
        return next(saveAnswers, "save question", SaveAnswer::Cancel);
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        return next(files, "file dialog");
    }
    void tell(const std::string& /*title*/, const Message& text) override {
        told.push_back(text.english());
        toldMessages.push_back(text);
    }
    bool askOkCancel(const Message& text) override { return next(okCancel, text.english(), false); }
    SaveAnswer askYesNoCancel(const Message& text) override {
        asked.push_back(text.english());
        return next(yesNoCancel, text.english(), SaveAnswer::Cancel);
    }
    std::vector<std::string> chooseDeviceFiles(bool /*several*/) override {
        return next(deviceFiles, "device file dialog");
    }
    using Prompts::tell;

private:
    // The next scripted answer; without one, `none` and the question recorded as unexpected.
    template <typename T> T next(std::deque<T>& queue, const std::string& what, T none = {}) {
        if (queue.empty()) {
            unexpected.push_back(what);
            return none;
        }
        T a = std::move(queue.front());
        queue.pop_front();
        return a;
    }
};

} // namespace torvane::gui::test
