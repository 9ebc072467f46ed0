// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "NullView.h"

namespace dravello {

// A view that keeps everything the engine shows, for tests to inspect.
class RecordingView : public NullView {
 public:
  struct Message {
    MessageKind kind;
    std::string caption, text;
  };
  struct Panel {
    std::string caption;
    WinColor colour = 0;
  };
  struct Button {
    bool enabled = false;
    WinColor font = 0;
  };

  void SetPanel1(const std::string& c) override { panel1 = c; }
  void SetPanel6(const std::string& c) override { panel6 = c; }
  void SetPanel7(const std::string& c) override { panel7 = c; }
  void SetMemoryPanel(int m, const std::string& c, WinColor colour) override {
    memory_panels.at(static_cast<std::size_t>(m)) = {c, colour};
  }
  void SetRecallButton(int m, bool enabled, WinColor font) override {
    recall.at(static_cast<std::size_t>(m)) = {enabled, font};
  }
  void SetPanel5(const std::string& c, WinColor colour, const std::string& h) override {
    panel5 = {c, colour};
    panel5_hint = h;
  }
  void AppendListLine(const std::string& line) override { lines.push_back(line); }
  void ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override {
    messages.push_back({kind, caption, text});
  }

  std::string panel1, panel6, panel7, panel5_hint;
  std::array<Panel, 3> memory_panels;
  std::array<Button, 4> recall;
  Panel panel5;
  std::vector<std::string> lines;
  std::vector<Message> messages;
};

}  // namespace dravello
