#pragma once
// A prompt for tests: records every prompt and answers from a queue. A prompt
// the test did not expect (empty queue) fails the test.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/operator_prompt.h"

namespace ferolin::testing {

struct RecordedPrompt {
  enum class Kind { Message, Input, OpenFile } kind;
  std::string text;   // message text, input prompt, or file dialog title
  std::string title;  // message/input title, or file filter
  int style = 0;      // message style code as passed
  int buttons = 0;
  int icon = 0;
  int defaultButton = 0;
};

class ScriptedPrompt : public ui::OperatorPrompt {
 public:
  ~ScriptedPrompt() override;

  // Queue the next answers, consumed in order whatever the kind of prompt.
  ScriptedPrompt& Answer(int code);
  ScriptedPrompt& AnswerInput(std::optional<std::string> text);
  ScriptedPrompt& AnswerFile(std::optional<std::string> path);

  int Message(const std::string& text, int style, const std::string& title) override;
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) override;
  std::optional<std::string> OpenFile(const ui::FileRequest& request) override;

  const std::vector<RecordedPrompt>& prompts() const { return prompts_; }
  std::size_t pending() const { return queue_.size(); }
  void clear() { prompts_.clear(); }
  // When false, answers left in the queue at destruction are not reported.
  bool requireAllUsed = true;

 private:
  struct Scripted {
    RecordedPrompt::Kind kind;
    int code = 0;
    std::optional<std::string> text;
  };
  std::optional<Scripted> Next(RecordedPrompt::Kind kind, const std::string& what);
  std::deque<Scripted> queue_;
  std::vector<RecordedPrompt> prompts_;
};

}  // namespace ferolin::testing
