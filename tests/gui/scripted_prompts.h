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

    std::vector<std::string> told;       // every message text in English, in order
    std::vector<Message> toldMessages;   // the same messages as they were given
    std::vector<std::string> unexpected; // questions asked without a scripted answer
    std::vector<FileDialogRequest> fileRequests;
    int saveQuestions = 0;

    std::optional<int> askConfigType() override { return next(configTypes, "config type"); }
    std::optional<int> askConfigFormat() override { return next(configFormats, "config format"); }
    std::deque<bool> dropAnswers;
    std::vector<std::vector<DroppedField>> dropQuestions;
    std::vector<SaveReason> saveReasons;

    bool askSaveDropping(const std::vector<DroppedField>& fields) override {
        dropQuestions.push_back(fields);
        if (dropAnswers.empty()) {
            unexpected.emplace_back("XML drops question");
            return false;
        }
        const bool a = dropAnswers.front();
        dropAnswers.pop_front();
        return a;
    }
    SaveAnswer askSaveChanges(SaveReason reason) override {
        saveReasons.push_back(reason);
        ++saveQuestions;
        if (saveAnswers.empty()) {
            unexpected.emplace_back("save question");
            return SaveAnswer::Cancel;
        }
        const SaveAnswer a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        return next(files, "file dialog");
    }
    void tell(const std::string& /*title*/, const Message& text) override {
        told.push_back(text.english());
        toldMessages.push_back(text);
    }
    bool askOkCancel(const Message& text) override {
        if (okCancel.empty()) {
            unexpected.push_back(text.english());
            return false;
        }
        const bool a = okCancel.front();
        okCancel.pop_front();
        return a;
    }
    SaveAnswer askYesNoCancel(const Message& text) override {
        asked.push_back(text.english());
        if (yesNoCancel.empty()) {
            unexpected.push_back(text.english());
            return SaveAnswer::Cancel;
        }
        const SaveAnswer a = yesNoCancel.front();
        yesNoCancel.pop_front();
        return a;
    }
    std::vector<std::string> asked; // Yes/No/Cancel questions, in order
    using Prompts::tell;

private:
    template <typename T>
    std::optional<T> next(std::deque<std::optional<T>>& queue, const char* what) {
        if (queue.empty()) {
            unexpected.emplace_back(what);
            return std::nullopt;
        }
        std::optional<T> a = queue.front();
        queue.pop_front();
        return a;
    }
};

} // namespace torvane::gui::test
