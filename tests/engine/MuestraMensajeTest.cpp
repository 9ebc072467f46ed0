// SPDX-License-Identifier: GPL-3.0-or-later
#include "MuestraMensaje.h"

#include <gtest/gtest.h>

#include "RecordingView.h"

namespace dravello {
namespace {

TEST(MuestraMensaje, TheKindChoosesTheTitle) {
  const struct {
    MessageKind kind;
    const char* caption;
  } cases[] = {
      {MessageKind::kWarning, "Warning"},
      {MessageKind::kError, "Error"},
      {MessageKind::kInformation, "Information"},
      {MessageKind::kConfirm, "Confirm"},
  };
  for (const auto& c : cases) {
    RecordingView view;
    MuestraMensaje(view, " texto ", c.kind);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, c.kind);
    EXPECT_EQ(view.messages[0].caption, c.caption);
    EXPECT_EQ(view.messages[0].text, " texto ");  // blanks kept
  }
}

}  // namespace
}  // namespace dravello
