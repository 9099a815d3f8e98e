#include "tests/support/scripted_prompt.h"

#include <gtest/gtest.h>

namespace ferolin::testing {

ScriptedPrompt::~ScriptedPrompt() {
  if (requireAllUsed && !queue_.empty()) {
    ADD_FAILURE() << queue_.size() << " scripted answer(s) were never asked for";
  }
}

ScriptedPrompt& ScriptedPrompt::Answer(int code) {
  queue_.push_back({RecordedPrompt::Kind::Message, code, std::nullopt});
  return *this;
}

ScriptedPrompt& ScriptedPrompt::AnswerInput(std::optional<std::string> text) {
  queue_.push_back({RecordedPrompt::Kind::Input, 0, std::move(text)});
  return *this;
}

ScriptedPrompt& ScriptedPrompt::AnswerFile(std::optional<std::string> path) {
  queue_.push_back({RecordedPrompt::Kind::OpenFile, 0, std::move(path)});
  return *this;
}

std::optional<ScriptedPrompt::Scripted> ScriptedPrompt::Next(RecordedPrompt::Kind kind,
                                                             const std::string& what) {
  if (queue_.empty()) {
    ADD_FAILURE() << "unexpected prompt: " << what;
    return std::nullopt;
  }
  Scripted s = queue_.front();
  queue_.pop_front();
  if (s.kind != kind) {
    ADD_FAILURE() << "prompt of another kind than scripted: " << what;
  }
  return s;
}

int ScriptedPrompt::Message(const std::string& text, int style, const std::string& title) {
  const auto parts = ui::MessageStyle::FromCode(style);
  prompts_.push_back({RecordedPrompt::Kind::Message, text, title, style, parts.buttons, parts.icon,
                      parts.defaultButton});
  auto s = Next(RecordedPrompt::Kind::Message, title + ": " + text);
  return s ? s->code : ui::answer::kCancel;
}

std::optional<std::string> ScriptedPrompt::Input(const std::string& prompt,
                                                 const std::string& title,
                                                 const std::string& /*defaultText*/) {
  prompts_.push_back({RecordedPrompt::Kind::Input, prompt, title, 0, 0, 0, 0});
  auto s = Next(RecordedPrompt::Kind::Input, title + ": " + prompt);
  return s ? s->text : std::nullopt;
}

std::optional<std::string> ScriptedPrompt::OpenFile(const ui::FileRequest& request) {
  prompts_.push_back({RecordedPrompt::Kind::OpenFile, request.title, request.filter, 0, 0, 0, 0});
  auto s = Next(RecordedPrompt::Kind::OpenFile, "file dialog " + request.title);
  return s ? s->text : std::nullopt;
}

}  // namespace ferolin::testing
