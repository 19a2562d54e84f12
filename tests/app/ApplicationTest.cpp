// How errors that reach the event loop are shown.
#include <gtest/gtest.h>
#include <stdexcept>

#include "app/Application.h"
#include "support/ScriptedDialogs.h"

namespace penwick {
namespace {

std::exception_ptr Raised(auto thrower) {
  try {
    thrower();
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

TEST(ApplicationErrors, MessagesAreShownAndSilentAbortIsSwallowed) {
  test::TScriptedDialogs dialogs;
  TApplication::ReportException(&dialogs, Raised([] { throw TSilentAbort(); }));
  EXPECT_TRUE(dialogs.Asked().empty());
  TApplication::ReportException(&dialogs, Raised([] { throw std::runtime_error("Unable to write to x.ini"); }));
  TApplication::ReportException(&dialogs, Raised([] { throw 42; }));
  ASSERT_EQ(dialogs.Asked("Error").size(), 2u);
  EXPECT_EQ(dialogs.Asked("Error")[0].Text, "Unable to write to x.ini");
  EXPECT_EQ(dialogs.Asked("Error")[0].Caption, "Error");
  EXPECT_FALSE(dialogs.Asked("Error")[1].Text.empty());
  // Without dialogs the message goes to stderr instead of failing.
  TApplication::ReportException(nullptr, Raised([] { throw std::runtime_error("to stderr"); }));
}

}  // namespace
}  // namespace penwick
