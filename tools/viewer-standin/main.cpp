// tesk-viewer-standin: plays the companion viewer's side of the link. It creates the shared
// block, registers with a running editor, acknowledges the shapes it is sent (writing the last
// one as a PNG when asked) and sends load and save requests typed on its standard input.
// It reports everything it sees on standard output, one line per event.

#include "FileIO.h"
#include "LinkNames.h"
#include "LinkProtocol.h"
#include "MessageTransport.h"
#include "SculptImageWriter.h"
#include "SharedBlock.h"
#include "Strings.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tesk;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kUsage =
    "usage: tesk-viewer-standin [--ack-delay MS | --no-ack] [--png PATH] [--no-register]\n"
    "                           [--names TAG]\n"
    "it meets the editor in the block /KOB_APP-<uid> and through the sockets endpoint-<id>\n"
    "and class-REVIDareRarud in $XDG_RUNTIME_DIR/tesk (without it, /tmp/tesk-<uid>);\n"
    "--names TAG uses /KOB_APP-<uid>-TAG and TAG-endpoint-<id>, TAG-class-... instead.\n"
    "commands on standard input (end of input quits):\n"
    "  register          tell the editor where this viewer is (0x40D)\n"
    "  load PATH         ask the editor to load PATH (0x414)\n"
    "  save PATH         ask the editor to save, if PATH is its project (0x415)\n"
    "  saveload PATH     ask the editor to save its shape, then load PATH (0x416)\n"
    "  hostile-name MSG  fill the request name with no terminator, then send MSG (0x414...)\n"
    "  junk N            send the editor's control panel a datagram of N bytes\n"
    "  quit\n";

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int) {
    g_stop = 1;
}

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

struct Options {
    std::optional<int> ackDelayMs = 0; ///< none: never acknowledge
    std::string png;
    bool registerAtStart = true;
    std::string tag;
};

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--ack-delay" && hasValue) {
            o.ackDelayMs = std::atoi(argv[++i]);
        } else if (arg == "--no-ack") {
            o.ackDelayMs.reset();
        } else if (arg == "--png" && hasValue) {
            o.png = argv[++i];
        } else if (arg == "--no-register") {
            o.registerAtStart = false;
        } else if (arg == "--names" && hasValue) {
            o.tag = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

float floatAt(const uint8_t* p) {
    const uint32_t bits = loadWord(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}

class StandIn {
public:
    StandIn(const Options& options, LinkNames names)
        : m_options(options), m_names(std::move(names)), m_block(m_names.block),
          m_id(nextWindowId()) {}

    bool start() {
        if (m_names.folder.empty()) {
            say("error: no private folder for the sockets (not the user's, or open to others)");
            return false;
        }
        if (!m_block.create()) {
            say("error: cannot create the block " + m_block.name());
            return false;
        }
        m_window = Mailbox::bind(m_names.endpoint(m_id));
        m_class = Mailbox::bind(m_names.windowClass(kViewerClassName));
        if (!m_window) {
            say("error: cannot open this viewer's window");
            return false;
        }
        if (!m_class) {
            say("note: another viewer holds the class name " + std::string(kViewerClassName));
        }
        m_block.writeWord(kPeerOffset, m_id);
        say("ready " + std::to_string(m_id) + " " + m_block.name());
        return true;
    }

    ~StandIn() { m_block.remove(); }

    std::vector<pollfd> watched() const {
        std::vector<pollfd> fds{{m_window->fd(), POLLIN, 0}};
        if (m_class) {
            fds.push_back({m_class->fd(), POLLIN, 0});
        }
        return fds;
    }

    void serve() {
        for (Mailbox* box : {m_window.get(), m_class.get()}) {
            while (box != nullptr) {
                const auto received = box->take();
                if (!received) {
                    break;
                }
                handle(received->message);
                box->answer(*received, 0);
            }
        }
    }

    /// Milliseconds until a late acknowledgement is due, or -1.
    int msUntilAck() const {
        if (!m_ackDue) {
            return -1;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(*m_ackDue - Clock::now());
        return left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }

    void ackIfDue() {
        if (m_ackDue && Clock::now() >= *m_ackDue) {
            m_ackDue.reset();
            m_block.writeWord(kAckOffset, m_shapes);
            say("acked " + std::to_string(m_shapes));
        }
    }

    /// False for quit.
    bool command(const std::string& line) {
        std::istringstream in(line);
        std::string verb;
        in >> verb;
        std::string rest;
        std::getline(in >> std::ws, rest);
        if (verb == "quit") {
            return false;
        }
        if (verb == "register") {
            registerWithEditor();
        } else if (verb == "load" || verb == "save" || verb == "saveload") {
            const uint32_t message = verb == "load"   ? kMsgLoad
                                     : verb == "save" ? kMsgSave
                                                      : kMsgSaveThenLoad;
            request(message, rest);
        } else if (verb == "hostile-name") {
            // 255 letters "A" in UTF-16 and no terminator anywhere in the field.
            std::array<uint8_t, kRequestBytes> field;
            for (size_t i = 0; i < field.size(); ++i) {
                field[i] = i % 2 == 0 ? 'A' : 0;
            }
            m_block.writeBlock(kRequestOffset, field);
            sendToEditor(static_cast<uint32_t>(std::strtoul(rest.c_str(), nullptr, 0)));
        } else if (verb == "junk") {
            const std::vector<uint8_t> bytes(std::strtoul(rest.c_str(), nullptr, 0), 0x14);
            const bool sent = m_editor != 0 && postBytes(m_names.endpoint(m_editor), bytes);
            say(std::string(sent ? "junk sent " : "junk refused ") + std::to_string(bytes.size()));
        } else if (!verb.empty()) {
            say("error: unknown command " + verb);
        }
        return true;
    }

    void registerWithEditor() {
        const SendResult r =
            sendMessage(m_names.windowClass(kEditorClassName), {kMsgRegister, 0, 0});
        uint32_t editor = 0;
        if (r.status != SendResult::Replied || m_block.readWord(kPeerOffset, editor) != 1 ||
            editor == 0 || editor == m_id) {
            say("register: no editor");
            return;
        }
        // The editor left its control panel's id where it looks for the viewer's window.
        m_editor = editor;
        m_block.writeWord(kPeerOffset, m_id);
        say("registered " + std::to_string(m_editor));
    }

private:
    void handle(const LinkMessage& m) {
        if (m.message == kMsgShapeReady) {
            takeShape();
        } else if (m.message == kMsgDoubleClick) {
            say("double-click " + std::to_string(m.wParam) + " " + std::to_string(m.lParam));
        } else {
            say("message " + hex(m.message));
        }
    }

    void takeShape() {
        // Cleared first, so a send that starts now never sees the previous shape's word.
        m_block.writeWord(kAckOffset, 0);
        std::vector<uint8_t> payload(kPayloadSize);
        uint32_t editor = 0;
        if (m_block.readBlock(kPayloadOffset, payload.size(), payload.data()) != 1 ||
            m_block.readWord(kPeerOffset, editor) != 1) {
            say("error: cannot read the block");
            return;
        }
        if (editor != m_id && editor != 0) {
            m_editor = editor;
        }
        // Back where the editor looks for this viewer, before the acknowledgement lets it go on.
        m_block.writeWord(kPeerOffset, m_id);
        ++m_shapes;
        std::u16string name;
        for (size_t i = 0; i < kPayloadNameUnits; ++i) {
            const auto unit = static_cast<char16_t>(payload[2 * i] | payload[2 * i + 1] << 8);
            if (unit == 0) {
                break;
            }
            name.push_back(unit);
        }
        const uint8_t* scale = &payload[kPayloadScaleOffset];
        char numbers[96];
        std::snprintf(numbers, sizeof numbers, "%g %g %g", static_cast<double>(floatAt(scale)),
                      static_cast<double>(floatAt(scale + 4)),
                      static_cast<double>(floatAt(scale + 8)));
        say("shape " + std::to_string(m_shapes) + " " + numbers + " " + utf16ToUtf8(name));
        writePicture(payload);
        if (m_options.ackDelayMs) {
            m_ackDue = Clock::now() + std::chrono::milliseconds(*m_options.ackDelayMs);
            ackIfDue();
        }
    }

    void writePicture(const std::vector<uint8_t>& payload) const {
        if (m_options.png.empty()) {
            return;
        }
        // Back from the picture's colours to map codes, which the writer turns into the same
        // colours again.
        std::vector<uint32_t> map(kPayloadPixels);
        for (size_t i = 0; i < map.size(); ++i) {
            const uint32_t p = loadWord(&payload[kPayloadPixelsOffset + 4 * i]);
            const uint32_t x = 255u - (p >> 16 & 0xffu);
            const uint32_t y = 255u - (p >> 8 & 0xffu);
            map[i] = x | y << 8 | (p & 0xffu) << 16;
        }
        const std::vector<uint8_t> png = EncodeSculptPng(map.data(), 64, 64);
        if (png.empty() || !writeFileAtomically(m_options.png, png.data(), png.size())) {
            say("error: cannot write " + m_options.png);
        }
    }

    void request(uint32_t message, const std::string& path) {
        const std::u16string name = utf8ToUtf16(path).substr(0, kRequestBytes / 2 - 1);
        std::vector<uint8_t> field(kRequestBytes, 0);
        for (size_t i = 0; i < name.size(); ++i) {
            field[2 * i] = static_cast<uint8_t>(name[i]);
            field[2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
        }
        m_block.writeBlock(kRequestOffset, field);
        sendToEditor(message);
    }

    void sendToEditor(uint32_t message) {
        if (m_editor == 0) {
            say("error: no editor known yet (register first)");
            return;
        }
        const SendResult r = sendMessage(m_names.endpoint(m_editor), {message, 0, 0});
        if (r.status == SendResult::Replied) {
            say("reply " + hex(message) + " " + std::to_string(r.result));
        } else {
            say(std::string(r.status == SendResult::Refused ? "refused " : "no reply ") +
                hex(message));
        }
    }

    const Options& m_options;
    LinkNames m_names;
    SharedBlock m_block;
    uint32_t m_id;
    uint32_t m_editor = 0;
    uint32_t m_shapes = 0;
    std::optional<Clock::time_point> m_ackDue;
    std::unique_ptr<Mailbox> m_window;
    std::unique_ptr<Mailbox> m_class;
};

/// Splits what arrives on standard input into lines; false at end of input.
bool readCommands(std::string& pending, std::vector<std::string>& lines) {
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0) {
        return errno == EINTR || errno == EAGAIN;
    }
    if (n == 0) {
        return false;
    }
    pending.append(buffer, static_cast<size_t>(n));
    for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
        lines.push_back(pending.substr(0, end));
        pending.erase(0, end + 1);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 64;
    }
    // Signals end the loop only while it waits, so the block is always removed on the way out.
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&blocked, s);
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigaction(s, &action, nullptr);
    }
    sigset_t waiting;
    sigprocmask(SIG_BLOCK, &blocked, &waiting);

    StandIn standIn(options, LinkNames::forUser(options.tag));
    if (!standIn.start()) {
        return 2;
    }
    if (options.registerAtStart) {
        standIn.registerWithEditor();
    }
    std::string pending;
    for (bool running = true; running && g_stop == 0;) {
        std::vector<pollfd> fds = standIn.watched();
        fds.push_back({STDIN_FILENO, POLLIN, 0});
        const int wait = standIn.msUntilAck();
        timespec timeout{wait / 1000, (wait % 1000) * 1000000L};
        const int ready = ::ppoll(fds.data(), fds.size(), wait < 0 ? nullptr : &timeout, &waiting);
        if (ready < 0) {
            continue;
        }
        standIn.serve();
        standIn.ackIfDue();
        if ((fds.back().revents & (POLLIN | POLLHUP)) != 0) {
            std::vector<std::string> lines;
            running = readCommands(pending, lines);
            for (const std::string& line : lines) {
                running = running && standIn.command(line);
            }
        }
    }
    say("bye");
    return 0;
}
