#pragma once

#include <deque>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "ui/UserPrompts.h"

namespace wiremap {

// Answers for the user in tests: counts beeps, records errors, shell targets and the
// prompts asked, and answers save, open and text prompts from queues (std::nullopt = the user
// cancelled; an empty queue also cancels). The clipboard is the real one unless refused.
// Installs itself while it lives.
class TTestPrompts : public TUserPrompts {
 public:
  struct TError {
    QWidget* Owner;
    QString Title;
    QString Text;
  };
  struct TTextPrompt {
    QString Title;
    QString Prompt;
    QString Value;
    int MaxLength;
  };

  TTestPrompts() { SetUserPrompts(this); }
  ~TTestPrompts() override { SetUserPrompts(nullptr); }
  TTestPrompts(const TTestPrompts&) = delete;
  TTestPrompts& operator=(const TTestPrompts&) = delete;

  void Beep() override { ++Beeps; }

  void ShowError(QWidget* AOwner, const QString& ATitle, const QString& AText) override {
    Errors.push_back({AOwner, ATitle, AText});
  }

  std::optional<QString> AskSaveFileName(QWidget*, const QString& AProposed) override {
    SaveProposals.append(AProposed);
    return Next(SaveAnswers);
  }

  // Other kinds of files are answered from the same queue; their filters are recorded.
  std::optional<QString> AskSaveFileNameFor(QWidget*, const QString& AProposed,
                                            const QString& AFilter, const QString&) override {
    SaveFilters.append(AFilter);
    SaveProposals.append(AProposed);
    return Next(SaveAnswers);
  }

  std::optional<QString> AskOpenFileName(QWidget*, const QString& AFilter) override {
    OpenFilters.append(AFilter);
    return Next(OpenAnswers);
  }

  std::optional<QString> AskText(QWidget*, const QString& ATitle, const QString& APrompt,
                                 const QString& AValue, int AMaxLength) override {
    TextPrompts.push_back({ATitle, APrompt, AValue, AMaxLength});
    return Next(TextAnswers);
  }

  void OpenInShell(QWidget* AOwner, const QString& ATarget) override {
    ShellOwners.push_back(AOwner);
    ShellTargets.append(ATarget);
  }

  // The real clipboard, unless the test makes it refuse the text.
  bool SetClipboardText(const QString& AText) override {
    ++ClipboardWrites;
    return !RefuseClipboard && TUserPrompts::SetClipboardText(AText);
  }

  // Script the next answers.
  void AnswerSave(std::optional<QString> AAnswer) { SaveAnswers.push_back(std::move(AAnswer)); }
  void AnswerOpen(std::optional<QString> AAnswer) { OpenAnswers.push_back(std::move(AAnswer)); }
  void AnswerText(std::optional<QString> AAnswer) { TextAnswers.push_back(std::move(AAnswer)); }

  int Beeps = 0;
  std::vector<TError> Errors;
  QStringList SaveProposals;
  QStringList SaveFilters;
  std::vector<TTextPrompt> TextPrompts;
  std::vector<QWidget*> ShellOwners;
  QStringList ShellTargets;
  std::deque<std::optional<QString>> SaveAnswers;
  std::deque<std::optional<QString>> TextAnswers;
  QStringList OpenFilters;
  std::deque<std::optional<QString>> OpenAnswers;
  bool RefuseClipboard = false;
  int ClipboardWrites = 0;

 private:
  static std::optional<QString> Next(std::deque<std::optional<QString>>& AQueue) {
    std::optional<QString> Answer;
    if (!AQueue.empty()) {
      Answer.swap(AQueue.front());
      AQueue.pop_front();
    }
    return Answer;
  }
};

}  // namespace wiremap
