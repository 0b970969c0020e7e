// The help viewer's window: reading the file, drawing, scrolling and its line of the state dump.

#include "toolkit/help/help_viewer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/file_io.h"
#include "toolkit/controls/controls.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/message_log.h"
#include "toolkit/core/state_dump.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/help/help_file.h"
#include "toolkit/help/help_layout.h"
#include "toolkit/help/help_scroll.h"
#include "toolkit/windows/desk_accessory.h"

namespace qiva {

namespace {

// The window's content in global coordinates: to the right of the screen, below the menu bar.
constexpr Rect kContent{66, 250, 410, 632};
constexpr std::int16_t kScrollBarWidth = 16;
constexpr std::int16_t kPaneWidth = 124; // the topic list
constexpr std::int16_t kMargin = 6;
constexpr std::int16_t kLineHeight = 16;
constexpr std::int16_t kPaneLineHeight = 15;
// TrueType faces, so that emphasis is drawn bold: DejaVu Sans (as the system's bitmap fonts) and a
// monospaced face for the board diagrams.
constexpr std::int16_t kTextFont = 12;
constexpr std::int16_t kFixedFont = 22;

void SetFace(help::Face face) {
    switch (face) {
    case help::Face::Plain:
        TextFont(kTextFont), TextSize(12), TextFace(0);
        break;
    case help::Face::Bold:
        TextFont(kTextFont), TextSize(12), TextFace(bold);
        break;
    case help::Face::Fixed:
        TextFont(kFixedFont), TextSize(11), TextFace(0);
        break;
    case help::Face::Title:
        TextFont(kTextFont), TextSize(15), TextFace(bold);
        break;
    }
}

int Measure(std::string_view text, help::Face face) {
    SetFace(face);
    return TextWidth(text.data(), 0, static_cast<int>(text.size()));
}

// Reads the whole file through the toolkit's search; errno says why when it cannot.
bool ReadHelpText(const std::string& name, std::string& text, int& error) {
    errno = 0;
    std::FILE* f = OpenInSearchPath(name, "rb", SearchPlace::Everywhere);
    if (!f) {
        error = errno ? errno : ENOENT;
        return false;
    }
    const std::uint64_t limit = platform::InputLimit(platform::InputKind::Text);
    text.clear();
    char buffer[8192];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        text.append(buffer, got);
        if (text.size() > limit) {
            std::fclose(f);
            error = EFBIG;
            return false;
        }
    }
    const bool failed = std::ferror(f) != 0;
    error = failed ? (errno ? errno : EIO) : 0;
    std::fclose(f);
    return !failed;
}

// One viewer for the program; it outlives nothing it points to at exit (the window goes with the
// Window Manager), so it has no destructor work.
class HelpViewer final : public DeskAccessory {
public:
    bool Open(const std::string& name, help::HelpFile parsed) {
        if (!window_) {
            Rect bounds = kContent;
            const std::string title = parsed.topics.empty() ? name : parsed.topics.front().title;
            window_ = NewWindow(nullptr, &bounds, title.c_str(), true, noGrowDocProc,
                                reinterpret_cast<WindowPtr>(-1), true, -1);
            if (!window_) return false;
            SetDeskAccessory(window_, this);
            RegisterStateDump("help", [this](std::string& out) { WriteDump(out); });
        } else {
            SelectWindow(window_);
        }
        name_ = name;
        file_ = std::move(parsed);
        const PortGuard guard(window_);
        const Rect port = window_->portRect;
        if (!bar_) {
            const Rect barRect{static_cast<std::int16_t>(port.top - 1),
                               static_cast<std::int16_t>(port.right - kScrollBarWidth + 1),
                               static_cast<std::int16_t>(port.bottom + 1),
                               static_cast<std::int16_t>(port.right + 1)};
            bar_ = NewControl(window_, &barRect, "", true, 0, 0, 0, scrollBarProc, 0);
        }
        text_ = Rect{static_cast<std::int16_t>(port.top + kMargin),
                     static_cast<std::int16_t>(port.left + kPaneWidth + kMargin + 2),
                     static_cast<std::int16_t>(port.bottom - kMargin),
                     static_cast<std::int16_t>(port.right - kScrollBarWidth - kMargin)};
        visible_ = std::max((text_.bottom - text_.top) / kLineHeight, 1);
        layout_ = help::LayOutHelp(file_, text_.right - text_.left, &Measure);
        TextFont(0), TextSize(0), TextFace(0);
        top_ = 0;
        if (bar_) SetCtlMax(bar_, static_cast<std::int16_t>(std::min(LastTop(), 32767)));
        InvalRect(&port);
        return true;
    }

    void ShowTopic(int topic) {
        if (topic < 0 || topic >= static_cast<int>(layout_.topicLines.size())) topic = 0;
        SetTop(layout_.topicLines.empty() ? 0 : layout_.topicLines[static_cast<std::size_t>(topic)]);
    }

    void Close() {
        if (!window_) return;
        UnregisterStateDump("help");
        SetDeskAccessory(window_, nullptr);
        KillControls(window_);
        DisposeWindow(window_);
        Forget();
    }

    void Event(WindowPtr window, const EventRecord& event) override {
        const PortGuard guard(window);
        switch (event.what) {
        case updateEvt:
            Draw();
            break;
        case activateEvt:
            if (bar_) HiliteControl(bar_, (event.modifiers & activeFlag) ? 0 : 255);
            break;
        case keyDown:
        case autoKey:
            if (const auto request = help::ScrollForKey(static_cast<int>(event.message & charCodeMask)))
                SetTop(help::ScrollTop(top_, *request, visible_, LastTop()));
            break;
        case mouseDown:
            Click(event.where);
            break;
        default:
            break;
        }
    }

    void Close(WindowPtr) override { Close(); }

    // Closed by someone else (the Window Manager starting again), the window and its scroll bar are
    // gone: the next opening makes them anew.
    void Closed(WindowPtr) override {
        UnregisterStateDump("help");
        Forget();
    }

    void Wheel(WindowPtr window, int notches) override {
        const PortGuard guard(window);
        SetTop(help::WheelTop(top_, notches, LastTop()));
    }

    WindowPtr window() const { return window_; }
    const std::string& name() const { return name_; }
    const help::HelpFile& file() const { return file_; }
    int top() const { return top_; }
    int visible() const { return visible_; }
    int LineCount() const { return static_cast<int>(layout_.lines.size()); }

    // The scroll bar's arrows and page parts, while the mouse is held on them.
    static void Action(ControlHandle control, std::int16_t part);

private:
    void Forget() {
        window_ = nullptr;
        bar_ = nullptr;
        layout_ = {};
        file_ = {};
    }

    // The window is the port while the viewer works; the caller's port comes back after.
    class PortGuard {
    public:
        explicit PortGuard(WindowPtr window) {
            GetPort(&saved_);
            SetPort(window);
        }
        ~PortGuard() { SetPort(saved_); }

    private:
        GrafPtr saved_ = nullptr;
    };

    int LastTop() const {
        return help::LastTop(LineCount(), visible_,
                             layout_.topicLines.empty() ? -1 : layout_.topicLines.back());
    }

    void SetTop(int top) {
        top = std::clamp(top, 0, LastTop());
        if (top == top_) return;
        const int oldTopic = help::TopicOfLine(layout_, top_);
        top_ = top;
        if (bar_) SetCtlValue(bar_, static_cast<std::int16_t>(std::min(top_, 32767)));
        BeginDrawing();
        DrawText();
        if (help::TopicOfLine(layout_, top_) != oldTopic) DrawPane();
        EndDrawing();
    }

    Rect PaneRect() const {
        const Rect port = window_->portRect;
        return Rect{port.top, port.left, port.bottom, static_cast<std::int16_t>(port.left + kPaneWidth)};
    }

    void Click(Point where) {
        GlobalToLocal(&where);
        ControlHandle control = nullptr;
        const std::int16_t part = FindControl(where, window_, &control);
        if (control && control == bar_) {
            if (part == inThumb) {
                TrackControl(bar_, where, nullptr);
                SetTop(GetCtlValue(bar_));
            } else if (part) {
                TrackControl(bar_, where, &HelpViewer::Action);
            }
            return;
        }
        const Rect pane = PaneRect();
        if (PtInRect(where, &pane)) {
            const int entry = (where.v - pane.top - kMargin) / kPaneLineHeight;
            if (where.v >= pane.top + kMargin && entry < static_cast<int>(layout_.topicLines.size()))
                ShowTopic(entry);
        }
    }

    void Draw() {
        BeginDrawing();
        const Rect port = window_->portRect;
        EraseRect(&port);
        DrawPane();
        DrawText();
        DrawControls(window_);
        EndDrawing();
    }

    void DrawPane() {
        const Rect pane = PaneRect();
        ClipRect(&pane);
        EraseRect(&pane);
        MoveTo(pane.right - 1, pane.top);
        LineTo(pane.right - 1, pane.bottom);
        const int current = help::TopicOfLine(layout_, top_);
        TextFont(kTextFont), TextSize(11);
        for (std::size_t t = 0; t < file_.topics.size(); ++t) {
            const int v = pane.top + kMargin + static_cast<int>(t) * kPaneLineHeight;
            if (v >= pane.bottom) break;
            const std::string& title = file_.topics[t].title;
            TextFace(static_cast<int>(t) == current ? bold : 0);
            MoveTo(pane.left + 4, v + 11);
            ::DrawText(title.data(), 0, static_cast<int>(title.size()));
        }
        TextFont(0), TextSize(0), TextFace(0);
        const Rect all = window_->portRect;
        ClipRect(&all);
    }

    void DrawText() {
        Rect column = text_;
        column.top = window_->portRect.top;
        column.bottom = window_->portRect.bottom;
        ClipRect(&column);
        EraseRect(&column);
        for (int i = 0; i < visible_ && top_ + i < LineCount(); ++i) {
            const help::Line& line = layout_.lines[static_cast<std::size_t>(top_ + i)];
            const int baseline = text_.top + i * kLineHeight + 12;
            for (const help::Run& run : line.runs) {
                SetFace(run.face);
                MoveTo(text_.left + run.h, baseline);
                ::DrawText(run.text.data(), 0, static_cast<int>(run.text.size()));
            }
        }
        TextFont(0), TextSize(0), TextFace(0);
        const Rect all = window_->portRect;
        ClipRect(&all);
    }

    void WriteDump(std::string& out) const {
        const int topic = help::TopicOfLine(layout_, top_);
        const std::string title = topic < static_cast<int>(file_.topics.size())
                                      ? file_.topics[static_cast<std::size_t>(topic)].title
                                      : "";
        out += "help file " + DumpQuoted(name_) + " topic " + DumpQuotedMac(title) + " top " +
               std::to_string(top_) + " lines " + std::to_string(LineCount()) + "\n";
    }

    WindowPtr window_ = nullptr;
    ControlHandle bar_ = nullptr;
    std::string name_;
    help::HelpFile file_;
    help::Layout layout_;
    Rect text_{};
    int visible_ = 1;
    int top_ = 0;
};

HelpViewer viewer;
int lastError = 0;

void HelpViewer::Action(ControlHandle, std::int16_t part) {
    help::Scroll request;
    switch (part) {
    case inUpButton:
        request = help::Scroll::LineUp;
        break;
    case inDownButton:
        request = help::Scroll::LineDown;
        break;
    case inPageUp:
        request = help::Scroll::PageUp;
        break;
    case inPageDown:
        request = help::Scroll::PageDown;
        break;
    default:
        return;
    }
    viewer.SetTop(help::ScrollTop(viewer.top_, request, viewer.visible_, viewer.LastTop()));
}

} // namespace

int HelpError() {
    return lastError;
}

WindowPtr HelpWindow() {
    return viewer.window();
}

void CloseHelpViewer() {
    viewer.Close();
}

int HelpTopLine() {
    return viewer.top();
}
int HelpLineCount() {
    return viewer.LineCount();
}
int HelpVisibleLines() {
    return viewer.visible();
}

} // namespace qiva

using namespace qiva;

Boolean WinHelp(WindowPtr, const char* file, std::uint16_t command, std::uintptr_t data) {
    const std::string name = file ? file : "";
    if (command == HELP_QUIT) {
        if (viewer.window() && viewer.name() == name) viewer.Close();
        lastError = 0;
        return true;
    }
    if (command != HELP_KEY && command != HELP_CONTENTS) {
        lastError = EINVAL;
        return false;
    }
    // The topic a keyword asks for, the first one otherwise.
    const auto topicFor = [&](const help::HelpFile& parsed) {
        if (command != HELP_KEY || !data) return 0;
        return std::max(help::FindTopic(parsed, reinterpret_cast<const char*>(data)), 0);
    };
    // The file already shown comes to the front at the topic asked for, without being read again.
    if (viewer.window() && !name.empty() && viewer.name() == name) {
        SelectWindow(viewer.window());
        viewer.ShowTopic(topicFor(viewer.file()));
        lastError = 0;
        return true;
    }
    std::string text;
    int error = 0;
    if (name.empty() || !ReadHelpText(name, text, error)) {
        lastError = name.empty() ? ENOENT : error;
        return false;
    }
    help::HelpFile parsed = help::ParseHelpFile(text);
    if (parsed.error) {
        // The topics before the fault are still worth showing; the fault goes to the log.
        AppendToMessageLog(name + " line " + std::to_string(parsed.error->line) + ": " +
                           parsed.error->message);
    }
    const int topic = topicFor(parsed);
    if (!viewer.Open(name, std::move(parsed))) {
        lastError = ENOMEM;
        return false;
    }
    viewer.ShowTopic(topic);
    lastError = 0;
    return true;
}
