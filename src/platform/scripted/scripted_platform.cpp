#include "platform/scripted/scripted_platform.h"

#include <algorithm>

namespace tav {

// Pages are kept as ScriptedCanvas pictures and handed to the platform's
// record when the job ends.
class ScriptedPrintJob : public PrintJob {
 public:
  ScriptedPrintJob(ScriptedPlatform& platform, std::string title) : platform_(platform) {
    record_.title = std::move(title);
  }
  ~ScriptedPrintJob() override {
    if (!finished_) abort();
  }
  bool startPage() override {
    if (finished_) return false;
    if (!page_) {
      page_ = std::make_unique<ScriptedCanvas>(
          ScriptedPlatform::PAGE_WIDTH, ScriptedPlatform::PAGE_HEIGHT, ScriptedPlatform::PAGE_DPI);
    }
    return true;
  }
  Canvas& canvas() override {
    startPage();
    if (!page_) {
      // After the end of the job: a scratch page nobody keeps.
      page_ = std::make_unique<ScriptedCanvas>(1, 1);
    }
    return *page_;
  }
  bool endPage() override {
    if (page_ && !finished_) record_.pages.push_back(std::move(*page_));
    page_.reset();
    return !finished_;
  }
  bool endJob() override {
    if (finished_) return false;
    endPage();
    finished_ = true;
    platform_.prints_.push_back(std::move(record_));
    return true;
  }
  void abort() override {
    finished_ = true;
    page_.reset();
  }

 private:
  ScriptedPlatform& platform_;
  PrintRecord record_;
  std::unique_ptr<ScriptedCanvas> page_;
  bool finished_ = false;
};

ScriptedPlatform::ScriptedPlatform(int viewWidth, int viewHeight)
    : viewWidth_(viewWidth), viewHeight_(viewHeight) {}

ScriptedPlatform::~ScriptedPlatform() {
  if (window_ != nullptr) window_->destroyed = nullptr;
}

// --- queue ---

void ScriptedPlatform::enqueue(std::function<void()> action) {
  if (batching_) {
    batch_.push_back(std::move(action));
  } else {
    queue_.push_back(std::move(action));
  }
}

void ScriptedPlatform::beginBatch() { batching_ = true; }

void ScriptedPlatform::endBatch() {
  batching_ = false;
  if (batch_.empty()) return;
  queue_.push_back([actions = std::move(batch_)] {
    for (const auto& action : actions) action();
  });
  batch_.clear();
}

void ScriptedPlatform::deliver(std::function<void(ScriptedMainWindow&)> action, const char* what) {
  enqueue([this, action = std::move(action), what] {
    if (window_ == nullptr || window_->closed()) {
      problems_.push_back(std::string(what) + " with no main window");
      return;
    }
    action(*window_);
  });
}

void ScriptedPlatform::pushMenu(int id) {
  deliver(
      [this, id](ScriptedMainWindow& w) {
        const MenuItemState* item = w.menuItem(id);
        // A greyed top-level menu does not open at all.
        if (item != nullptr && !w.topMenuEnabled(item->topMenu)) {
          ignoredMenu_.push_back(id);
          return;
        }
        w.events().onMenuOpening();
        item = w.menuItem(id);
        if (item == nullptr || !item->enabled || !item->visible) {
          ignoredMenu_.push_back(id);
          return;
        }
        w.events().onCommand(id);
      },
      "menu choice");
}

void ScriptedPlatform::pushShortcut(StandardShortcut shortcut) {
  deliver(
      [this, shortcut](ScriptedMainWindow& w) {
        const int id = w.itemWithShortcut(shortcut);
        const MenuItemState* item = w.menuItem(id);
        if (item == nullptr) {
          problems_.push_back("shortcut bound to no menu item");
          return;
        }
        // The desktop triggers an enabled action only; a greyed menu bar
        // leaves the shortcut to the command that runs.
        w.events().onMenuOpening();
        if (!item->enabled || !w.topMenuEnabled(item->topMenu)) {
          ignoredMenu_.push_back(id);
          return;
        }
        w.events().onCommand(id);
      },
      "shortcut");
}

void ScriptedPlatform::pushCommand(int id) {
  deliver([id](ScriptedMainWindow& w) { w.events().onCommand(id); }, "command");
}

void ScriptedPlatform::pushKey(int key, bool ctrl) {
  deliver([key, ctrl](ScriptedMainWindow& w) { w.events().onKeyDown(key, ctrl); }, "key");
}

void ScriptedPlatform::pushMouseMove(PixelPoint at, bool ctrl) {
  deliver(
      [at, ctrl](ScriptedMainWindow& w) {
        w.events().onMouse({MouseAction::Move, MouseButton::None, at, ctrl, false});
      },
      "mouse move");
}

void ScriptedPlatform::pushClick(PixelPoint at, MouseButton button, bool ctrl) {
  pushMouseMove(at, ctrl);
  deliver(
      [at, button, ctrl](ScriptedMainWindow& w) {
        w.events().onMouse({MouseAction::Press, button, at, ctrl, false});
      },
      "mouse press");
  deliver(
      [at, button, ctrl](ScriptedMainWindow& w) {
        w.events().onMouse({MouseAction::Release, button, at, ctrl, false});
      },
      "mouse release");
}

void ScriptedPlatform::pushDoubleClick(PixelPoint at, MouseButton button) {
  pushMouseMove(at);
  for (MouseAction action :
       {MouseAction::Press, MouseAction::Release, MouseAction::DoubleClick, MouseAction::Release}) {
    deliver(
        [at, button, action](ScriptedMainWindow& w) {
          w.events().onMouse({action, button, at, false, false});
        },
        "mouse button");
  }
}

void ScriptedPlatform::pushMouseLeave() {
  deliver([](ScriptedMainWindow& w) { w.events().onMouseLeave(); }, "mouse leave");
}

void ScriptedPlatform::pushWheel(PixelPoint at, int delta) {
  pushMouseMove(at);
  deliver([at, delta](ScriptedMainWindow& w) { w.events().onWheel({at, delta}); }, "wheel");
}

void ScriptedPlatform::pushMiddleDrag(PixelPoint from, PixelPoint to) {
  pushMouseMove(from);
  deliver(
      [from](ScriptedMainWindow& w) {
        w.events().onMouse({MouseAction::Press, MouseButton::Middle, from, false, false});
      },
      "middle press");
  pushMouseMove(to);
  deliver(
      [to](ScriptedMainWindow& w) {
        w.events().onMouse({MouseAction::Release, MouseButton::Middle, to, false, false});
      },
      "middle release");
}

void ScriptedPlatform::pushScroll(const ScrollEvent& event) {
  deliver([event](ScriptedMainWindow& w) { w.events().onScroll(event); }, "scroll");
}

void ScriptedPlatform::pushCloseRequest() {
  deliver([](ScriptedMainWindow& w) { w.events().onCloseRequest(); }, "close request");
}

void ScriptedPlatform::pushResize(int width, int height) {
  deliver([width, height](ScriptedMainWindow& w) { w.resizeView(width, height); }, "resize");
}

void ScriptedPlatform::pushPanelClick(int id) {
  deliver(
      [this, id](ScriptedMainWindow& w) {
        ScriptedDialogControls* panel = w.panelControls();
        ControlState* s = panel != nullptr ? panel->state(id) : nullptr;
        if (s == nullptr || !s->enabled || !s->visible) {
          problems_.push_back("panel click: no usable control " + std::to_string(id));
          return;
        }
        if (s->kind == ControlKind::CheckBox) panel->setChecked(id, !s->checked);
        if (s->kind == ControlKind::RadioButton) panel->setChecked(id, true);
        w.events().onPanelCommand(id, DialogEventKind::Clicked, *panel);
      },
      "panel click");
}

void ScriptedPlatform::pushAction(std::function<void()> action) { enqueue(std::move(action)); }

// --- answers ---

void ScriptedPlatform::answerMessage(MessageResult answer) { messageAnswers_.push_back(answer); }

void ScriptedPlatform::answerInputLine(std::optional<std::string> answer) {
  inputAnswers_.push_back(std::move(answer));
}

void ScriptedPlatform::answerOpenFile(std::optional<std::string> path) {
  openAnswers_.push_back(std::move(path));
}

void ScriptedPlatform::answerSaveFile(std::optional<std::string> path) {
  saveAnswers_.push_back(std::move(path));
}

void ScriptedPlatform::scriptDialog(const std::string& title, DialogScript script) {
  dialogScripts_[title].push_back(std::move(script));
}

void ScriptedPlatform::failDialog(const std::string& title) { ++failingDialogs_[title]; }

void ScriptedPlatform::scriptWindow(const std::string& title, WindowScript script) {
  windowScripts_[title].push_back(std::move(script));
}

// --- Platform ---

std::unique_ptr<MainWindow> ScriptedPlatform::createMainWindow(MainWindowEvents& events) {
  auto window = std::make_unique<ScriptedMainWindow>(events, viewWidth_, viewHeight_);
  window_ = window.get();
  window->destroyed = [this] { window_ = nullptr; };
  return window;
}

bool ScriptedPlatform::processEvents(bool wait) {
  if (quitting_) return false;
  if (window_ != nullptr) window_->paintIfPending();
  std::function<void()> next;
  if (window_ != nullptr && !window_->posted().empty()) {
    next = std::move(window_->posted().front());
    window_->posted().pop_front();
  } else if (!queue_.empty()) {
    next = std::move(queue_.front());
    queue_.pop_front();
  } else {
    if (wait) {
      // Nobody will ever act again: quit rather than hang the test.
      ranDry_ = true;
      quitting_ = true;
      return false;
    }
    return true;
  }
  next();
  if (window_ != nullptr) window_->paintIfPending();
  return !quitting_;
}

MessageResult ScriptedPlatform::showMessage(std::string_view text, std::string_view caption,
                                            MessageButtons buttons, MessageIcon icon) {
  MessageRecord r;
  r.text = std::string(text);
  r.caption = std::string(messageCaptionOrDefault(caption));
  r.buttons = buttons;
  r.icon = icon;
  if (!messageAnswers_.empty()) {
    r.answer = messageAnswers_.front();
    messageAnswers_.pop_front();
  } else {
    // Unanswered: the default button, as Enter would press it.
    switch (buttons) {
      case MessageButtons::Ok:
      case MessageButtons::OkCancel:
        r.answer = MessageResult::Ok;
        break;
      case MessageButtons::OkCancelDefaultCancel:
      case MessageButtons::SaveDiscardCancel:
        r.answer = MessageResult::Cancel;
        break;
      case MessageButtons::YesNo:
      case MessageButtons::YesNoCancel:
        r.answer = MessageResult::Yes;
        break;
      case MessageButtons::RetryCancel:
        r.answer = MessageResult::Retry;
        break;
    }
  }
  messages_.push_back(r);
  if (messageShown) messageShown(r);
  return r.answer;
}

std::optional<std::string> ScriptedPlatform::inputLine(std::string_view prompt,
                                                       std::string_view text, int maxLength) {
  InputLineRecord r;
  r.prompt = std::string(prompt);
  r.text = std::string(text);
  r.maxLength = maxLength;
  if (!inputAnswers_.empty()) {
    r.answer = inputAnswers_.front();
    inputAnswers_.pop_front();
  }
  if (r.answer && maxLength > 0) {
    // At most maxLength characters come back.
    int count = 0;
    for (std::size_t i = 0; i < r.answer->size(); ++i) {
      if ((static_cast<unsigned char>((*r.answer)[i]) & 0xC0) != 0x80 && count++ == maxLength) {
        r.answer->resize(i);
        break;
      }
    }
  }
  inputLines_.push_back(r);
  return r.answer;
}

std::optional<std::string> ScriptedPlatform::openFileName(const FileDialogRequest& request) {
  FileDialogRecord r{false, request, std::nullopt};
  if (!openAnswers_.empty()) {
    r.answer = openAnswers_.front();
    openAnswers_.pop_front();
  }
  fileDialogs_.push_back(r);
  return r.answer;
}

std::optional<std::string> ScriptedPlatform::saveFileName(const FileDialogRequest& request) {
  FileDialogRecord r{true, request, std::nullopt};
  if (!saveAnswers_.empty()) {
    r.answer = saveAnswers_.front();
    saveAnswers_.pop_front();
  }
  fileDialogs_.push_back(r);
  return r.answer;
}

void ScriptedPlatform::progressOpen(std::string_view title, std::string_view text,
                                    std::string_view buttonText) {
  ProgressRecord r;
  r.kind = ProgressEventKind::Open;
  r.title = std::string(title);
  r.text = std::string(text);
  r.buttonText = std::string(buttonText);
  progress_.push_back(r);
  progressOpen_ = true;
  updates_ = 0;
}

bool ScriptedPlatform::progressUpdate(int percent, std::string_view text) {
  if (window_ != nullptr) window_->paintIfPending();
  ProgressRecord r;
  r.kind = ProgressEventKind::Update;
  r.text = std::string(text);
  r.percent = percent;
  r.barWidth = progressBarWidth(percent);
  ++updates_;
  r.cancelled = progressOpen_ && cancelAtUpdate_ > 0 && updates_ >= cancelAtUpdate_;
  progress_.push_back(r);
  return r.cancelled;
}

void ScriptedPlatform::progressClose() {
  if (!progressOpen_) return;
  ProgressRecord r;
  r.kind = ProgressEventKind::Close;
  progress_.push_back(r);
  progressOpen_ = false;
}

std::optional<int> ScriptedPlatform::runDialog(const DialogTemplate& dialog,
                                               DialogHandler& handler) {
  DialogRecord record;
  record.title = dialog.title;
  const std::string problem = checkDialogTemplate(dialog);
  auto failing = failingDialogs_.find(dialog.title);
  if (!problem.empty() || (failing != failingDialogs_.end() && failing->second > 0)) {
    if (problem.empty()) --failing->second;
    if (!problem.empty()) record.problems.push_back(problem);
    dialogs_.push_back(std::move(record));
    return std::nullopt;
  }
  DialogScript script;
  auto it = dialogScripts_.find(dialog.title);
  if (it != dialogScripts_.end() && !it->second.empty()) {
    script = std::move(it->second.front());
    it->second.pop_front();
  }
  ScriptedDialogControls controls(dialog);
  DialogRun run = runScriptedDialog(handler, controls, script);
  record.result = run.result;
  record.finalState = controls.states();
  record.problems = run.problems;
  for (const std::string& p : run.problems) problems_.push_back(dialog.title + ": " + p);
  dialogs_.push_back(std::move(record));
  return run.result;
}

bool ScriptedPlatform::runWindow(const ChildWindowSpec& spec, ChildWindowHandler& handler) {
  if (spec.width <= 0 || spec.height <= 0) return false;
  WindowScript script;
  auto it = windowScripts_.find(spec.title);
  if (it != windowScripts_.end() && !it->second.empty()) {
    script = std::move(it->second.front());
    it->second.pop_front();
  }
  ScriptedChildWindow window(spec, handler);
  window.clipboardSink = [this](const RgbImage& image) {
    clipboard_.push_back(image);
    return true;
  };
  window.printSink = [this](std::string_view title, const RgbImage& image) {
    if (!printerAvailable_) return false;
    PrintRecord r;
    r.title = std::string(title);
    ScriptedCanvas page(PAGE_WIDTH, PAGE_HEIGHT, PAGE_DPI);
    page.drawImage({0, 0}, image);
    r.pages.push_back(std::move(page));
    prints_.push_back(std::move(r));
    return true;
  };
  WindowRecord record;
  record.title = spec.title;
  record.problems = window.run(script);
  record.finalPicture = window.picture();
  record.finalCalls = window.canvas().calls();
  for (const std::string& p : record.problems) problems_.push_back(spec.title + ": " + p);
  windows_.push_back(std::move(record));
  return true;
}

std::unique_ptr<PrintJob> ScriptedPlatform::choosePrinter(std::string_view jobTitle) {
  if (!printerAvailable_) return nullptr;
  return std::make_unique<ScriptedPrintJob>(*this, std::string(jobTitle));
}

bool ScriptedPlatform::printPicture(std::string_view jobTitle, int width, int height,
                                    const PaintFunction& paint) {
  if (!printerAvailable_ || width <= 0 || height <= 0) return false;
  ScriptedCanvas picture(width, height);
  if (paint) paint(picture);
  PrintRecord r;
  r.title = std::string(jobTitle);
  r.pages.push_back(std::move(picture));
  prints_.push_back(std::move(r));
  return true;
}

bool ScriptedPlatform::copyPictureToClipboard(int width, int height, const PaintFunction& paint) {
  if (width <= 0 || height <= 0) return false;
  ScriptedCanvas picture(width, height);
  if (paint) paint(picture);
  clipboard_.push_back(picture.image());
  return true;
}

bool ScriptedPlatform::openHelp(std::string_view fileOrUrl, std::string_view anchor) {
  help_.push_back({std::string(fileOrUrl), std::string(anchor)});
  return helpAvailable_;
}

}  // namespace tav
