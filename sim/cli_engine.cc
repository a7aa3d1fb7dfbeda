// Command table, line matching, modes, scripts and the CLI's work files.
#include "sim/cli_engine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <strings.h>

#include "platform/openclt/openclt.h"

namespace sim {
namespace cli {

namespace {

enum TokenKind : uint8_t { kLiteral, kChoice, kUint, kVlan, kIpv4, kMask, kPort, kName, kWord };

struct Token {
    TokenKind kind = kLiteral;
    std::vector<std::string> words;  // literal: one word; choice: the alternatives
};

struct Row {
    Mode mode;
    std::vector<Token> syntax;
    Handler handler = nullptr;
    Renderer renderer = nullptr;
};

std::vector<Row>& commandRows()
{
    static std::vector<Row> rows;
    return rows;
}

std::vector<Row>& showRows()
{
    static std::vector<Row> rows;
    return rows;
}

std::vector<std::string> splitWords(const std::string& line, std::vector<size_t>* columns)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            break;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        words.push_back(line.substr(start, i - start));
        if (columns)
            columns->push_back(start);
    }
    return words;
}

// Syntax texts are the program's own; a malformed one is a programming error
// that shows up as a row nothing matches.
std::vector<Token> parseSyntax(const char* syntax)
{
    std::vector<Token> tokens;
    static const struct {
        const char* text;
        TokenKind kind;
    } kTypes[] = {{"<uint>", kUint}, {"<vlan>", kVlan}, {"<ipv4>", kIpv4}, {"<mask>", kMask},
                  {"<port>", kPort}, {"<name>", kName}, {"<word>", kWord}};
    for (const std::string& w : splitWords(syntax, nullptr)) {
        Token t;
        if (w.size() > 2 && w.front() == '{' && w.back() == '}') {
            t.kind = kChoice;
            std::string inner = w.substr(1, w.size() - 2);
            size_t start = 0;
            for (;;) {
                size_t bar = inner.find('|', start);
                t.words.push_back(inner.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
                if (bar == std::string::npos)
                    break;
                start = bar + 1;
            }
        } else if (w.front() == '<') {
            t.kind = kWord;
            for (const auto& ty : kTypes)
                if (w == ty.text)
                    t.kind = ty.kind;
        } else {
            t.words.push_back(w);
        }
        tokens.push_back(t);
    }
    return tokens;
}

bool allDigits(const std::string& s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool parseUint(const std::string& s, uint32_t* v)
{
    if (!allDigits(s) || s.size() > 10)
        return false;
    unsigned long long n = strtoull(s.c_str(), nullptr, 10);
    if (n > UINT32_MAX)
        return false;
    *v = static_cast<uint32_t>(n);
    return true;
}

bool parseDottedQuad(const std::string& s, uint32_t* v)
{
    uint32_t out = 0;
    size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        size_t dot = s.find('.', start);
        if ((part < 3) != (dot != std::string::npos))
            return false;
        std::string p = s.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        uint32_t n;
        if (p.size() > 3 || !parseUint(p, &n) || n > 255)
            return false;
        out = out << 8 | n;
        start = dot + 1;
    }
    *v = out;
    return true;
}

bool isMask(uint32_t m)
{
    return m != 0 && (~m & (~m + 1)) == 0;
}

bool nameChars(const std::string& s)
{
    if (s.empty() || s.size() > 31)
        return false;
    for (char c : s) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                  c == '_' || c == '.';
        if (!ok)
            return false;
    }
    return true;
}

bool portText(const std::string& s)
{
    size_t slashes = 0;
    for (char c : s) {
        if (c == '/')
            ++slashes;
        else if (c < '0' || c > '9')
            return false;
    }
    if (slashes < 1 || slashes > 2 || s.front() == '/' || s.back() == '/' || s.find("//") != std::string::npos)
        return false;
    return s.size() <= 16;
}

bool tokenMatches(const Token& t, const std::string& w)
{
    uint32_t v;
    switch (t.kind) {
    case kLiteral:
        return strcasecmp(t.words[0].c_str(), w.c_str()) == 0;
    case kChoice:
        for (const std::string& alt : t.words)
            if (strcasecmp(alt.c_str(), w.c_str()) == 0)
                return true;
        return false;
    case kUint:
        return parseUint(w, &v);
    case kVlan:
        return parseUint(w, &v) && v >= 1 && v <= 4093;
    case kIpv4:
        return parseDottedQuad(w, &v);
    case kMask:
        return parseDottedQuad(w, &v) && isMask(v);
    case kPort:
        return portText(w);
    case kName:
        return nameChars(w);
    case kWord:
        return true;
    }
    return false;
}

// How far a row matches: the number of leading words that fit its syntax.
// `full` when every word fits and the syntax is complete.
size_t matchRow(const Row& r, const std::vector<std::string>& words, bool* full)
{
    size_t n = 0;
    while (n < words.size() && n < r.syntax.size() && tokenMatches(r.syntax[n], words[n]))
        ++n;
    *full = n == words.size() && n == r.syntax.size();
    return n;
}

Args argsFor(const Row& r, const std::vector<std::string>& words, const std::vector<size_t>& columns)
{
    Args a;
    a.words = words;
    a.columns = columns;
    for (size_t i = 0; i < r.syntax.size(); ++i) {
        if (r.syntax[i].kind == kLiteral)
            continue;
        a.params.push_back(i);
        if (r.syntax[i].kind == kChoice)
            for (const std::string& alt : r.syntax[i].words)
                if (strcasecmp(alt.c_str(), words[i].c_str()) == 0)
                    a.words[i] = alt;
    }
    return a;
}

// The rows a line may run under in `mode`: the mode's own, and from exec
// mode also those of global configuration (a configuration script may leave
// out its "configure" line).
const Row* findRow(Mode mode, const std::vector<std::string>& words, Mode* runMode, size_t* bestMatch)
{
    *bestMatch = 0;
    for (int pass = 0; pass < 2; ++pass) {
        Mode m = pass == 0 ? mode : kModeConfig;
        if (pass == 1 && mode != kModeExec)
            break;
        for (const Row& r : commandRows()) {
            if (r.mode != m)
                continue;
            bool full;
            size_t n = matchRow(r, words, &full);
            if (full) {
                *runMode = m;
                return &r;
            }
            if (n > *bestMatch)
                *bestMatch = n;
        }
    }
    return nullptr;
}

std::string caretLine(size_t column)
{
    return std::string(column, ' ') + "^\n";
}

std::string modelName(const SwitchState& st)
{
    return st.units.empty() ? std::string("switch") : st.units.front().model;
}

std::deque<std::string>& history()
{
    static std::deque<std::string> h;
    return h;
}

// Runs one line; appends the echo and any message to *answer.
void runLine(Session& s, const std::string& line, std::string* answer)
{
    std::string p = prompt(s);
    *answer += p + line + "\n";
    std::vector<size_t> columns;
    std::vector<std::string> words = splitWords(line, &columns);
    Mode runMode = s.mode;
    size_t best = 0;
    const Row* row = findRow(s.mode, words, &runMode, &best);
    if (!row) {
        if (best == 0) {
            *answer += "% Unrecognized command.\n";
            return;
        }
        size_t col = best < columns.size() ? columns[best] : line.size() + 1;
        *answer += caretLine(p.size() + col) + "% Invalid input detected at '^' marker.\n";
        return;
    }
    Args a = argsFor(*row, words, columns);
    Mode before = s.mode;
    s.mode = runMode;
    Outcome o = row->handler(s, a);
    if (o.ok())
        return;
    s.mode = before;
    if (o.badParam >= 0 && static_cast<size_t>(o.badParam) < a.params.size()) {
        *answer += caretLine(p.size() + columns[a.params[static_cast<size_t>(o.badParam)]]) +
                   "% Invalid input detected at '^' marker.\n";
    } else {
        *answer += "% Invalid input: " + (o.reason.empty() ? std::string("command refused.") : o.reason) + "\n";
    }
}

// Modes: entering and leaving.
Outcome enterConfig(Session& s, const Args&)
{
    s.mode = kModeConfig;
    return accepted();
}
Outcome enterVlanDb(Session& s, const Args&)
{
    s.mode = kModeVlanDb;
    return accepted();
}
Outcome toExec(Session& s, const Args&)
{
    s.mode = kModeExec;
    return accepted();
}
Outcome toConfig(Session& s, const Args&)
{
    s.mode = kModeConfig;
    return accepted();
}
// "exit" in exec mode would end a terminal session; a script just goes on.
Outcome stayInExec(Session&, const Args&) { return accepted(); }

Outcome enterInterface(Session& s, uint32_t intIfNum, uint32_t vlanId, const std::string& text)
{
    s.mode = kModeInterface;
    s.intIfNum = intIfNum;
    s.vlanId = vlanId;
    s.intfText = text;
    return accepted();
}

// interface 0/N (unit 1), interface U/S/P
Outcome interfacePort(Session& s, const Args& a)
{
    std::string t = a.param(0);
    uint32_t u = 1, sl = 0, p = 0;
    std::vector<uint32_t> n;
    size_t start = 0;
    for (;;) {
        size_t slash = t.find('/', start);
        uint32_t v;
        if (!parseUint(t.substr(start, slash == std::string::npos ? std::string::npos : slash - start), &v))
            return refuseParam(0);
        n.push_back(v);
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    if (n.size() == 2) {
        sl = n[0];
        p = n[1];
    } else {
        u = n[0];
        sl = n[1];
        p = n[2];
    }
    for (const auto& kv : s.st.interfaces) {
        const Interface& i = kv.second;
        if (i.type == kIfPhysical && i.unit == u && i.slot == sl && i.port == p)
            return enterInterface(s, i.intIfNum, 0, t);
    }
    return refuseParam(0);
}

Outcome interfaceLag(Session& s, const Args& a)
{
    for (const auto& kv : s.st.interfaces)
        if (kv.second.type == kIfLag && kv.second.port == a.number(0))
            return enterInterface(s, kv.first, 0, "lag " + a.param(0));
    return refuseParam(0);
}

Outcome interfaceVlan(Session& s, const Args& a)
{
    if (!s.st.vlans.count(a.number(0)))
        return refuseParam(0);
    return enterInterface(s, 0, a.number(0), "vlan " + a.param(0));
}

const CommandRegistrar kModeRows[] = {
    {kModeExec, "configure", enterConfig},
    {kModeExec, "config", enterConfig},
    {kModeExec, "vlan database", enterVlanDb},
    {kModeExec, "exit", stayInExec},
    {kModeExec, "end", stayInExec},
    {kModeConfig, "interface <port>", interfacePort},
    {kModeConfig, "interface lag <uint>", interfaceLag},
    {kModeConfig, "interface vlan <vlan>", interfaceVlan},
    {kModeConfig, "exit", toExec},
    {kModeConfig, "end", toExec},
    {kModeInterface, "exit", toConfig},
    {kModeInterface, "end", toExec},
    {kModeVlanDb, "exit", toExec},
    {kModeVlanDb, "end", toExec},
};

}  // namespace

std::string Args::param(size_t i) const
{
    return i < params.size() && params[i] < words.size() ? words[params[i]] : std::string();
}

uint32_t Args::number(size_t i) const
{
    uint32_t v = 0;
    return parseUint(param(i), &v) ? v : 0;
}

CommandRegistrar::CommandRegistrar(Mode mode, const char* syntax, Handler handler)
{
    Row r;
    r.mode = mode;
    r.syntax = parseSyntax(syntax);
    r.handler = handler;
    commandRows().push_back(r);
}

ShowRegistrar::ShowRegistrar(const char* syntax, Renderer renderer)
{
    Row r;
    r.mode = kModeExec;
    r.syntax = parseSyntax(syntax);
    r.renderer = renderer;
    showRows().push_back(r);
}

std::string prompt(const Session& s)
{
    std::string p = "(" + modelName(s.st) + ") ";
    switch (s.mode) {
    case kModeExec:
        return p + "#";
    case kModeConfig:
        return p + "(Config)#";
    case kModeInterface:
        return p + "(Interface " + s.intfText + ")#";
    case kModeVlanDb:
        return p + "(Vlan)#";
    }
    return p + "#";
}

std::string runScript(SwitchState& st, const std::string& script, bool* changed)
{
    Session s(st);
    std::string answer;
    size_t start = 0;
    while (start < script.size()) {
        size_t nl = script.find('\n', start);
        std::string line = script.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        start = nl == std::string::npos ? script.size() : nl + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '!')
            continue;  // blank lines and comments
        runLine(s, line, &answer);
    }
    if (changed)
        *changed = s.changed;
    return answer;
}

int32_t runShow(const SwitchState& st, const std::string& command, std::string* out)
{
    std::vector<size_t> columns;
    std::vector<std::string> words = splitWords(command, &columns);
    size_t best = 0;
    bool atValue = false;
    for (const Row& r : showRows()) {
        bool full;
        size_t n = matchRow(r, words, &full);
        if (full) {
            out->clear();
            return r.renderer(st, argsFor(r, words, columns), out) ? 0 : kOpenInvalidParam;
        }
        if (n > best || (n == best && !atValue)) {
            best = n;
            // A choice of keywords names commands, as a literal does; only a
            // placeholder stands for a value.
            atValue = n < words.size() && n < r.syntax.size() && r.syntax[n].kind != kLiteral &&
                      r.syntax[n].kind != kChoice;
        }
    }
    // A known command whose value fits no row is refused; anything else is
    // a command the CLI does not have.
    return atValue ? kOpenInvalidParam : kOpenUnsupported;
}

std::string historyText()
{
    std::string out;
    for (const std::string& h : history())
        out += h;
    return out;
}

void historyAdd(const std::string& inputPath, const std::string& answer)
{
    history().push_back("--- " + inputPath + "\n" + answer);
    while (history().size() > 64)
        history().pop_front();
}

void historyClear() { history().clear(); }

}  // namespace cli

bool cliPathAllowed(const std::string& path)
{
    std::string rest;
    for (const char* dir : {kCliWorkDir, kCliTmpDir}) {
        size_t n = strlen(dir);
        if (path.compare(0, n, dir) == 0) {
            rest = path.substr(n);
            break;
        }
    }
    if (rest.empty() || rest.back() == '/')
        return false;
    size_t start = 0;
    for (;;) {
        size_t slash = rest.find('/', start);
        std::string part = rest.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

namespace {

// The directory of an allowed path must itself resolve inside an allowed
// directory, so a symbolic link on the way cannot lead elsewhere.
bool parentInside(const std::string& path)
{
    std::string dir = path.substr(0, path.rfind('/'));
    char real[PATH_MAX];
    if (!realpath(dir.c_str(), real))
        return false;
    std::string r = std::string(real) + "/";
    for (const char* allowed : {kCliWorkDir, kCliTmpDir}) {
        char base[PATH_MAX];
        if (realpath(allowed, base) && r.compare(0, strlen(base) + 1, std::string(base) + "/") == 0)
            return true;
    }
    return false;
}

}  // namespace

bool cliFileWrite(const std::string& path, const std::string& text)
{
    if (!cliPathAllowed(path) || !parentInside(path))
        return false;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t off = 0;
    while (off < text.size()) {
        ssize_t w = write(fd, text.data() + off, text.size() - off);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            close(fd);
            return false;
        }
        off += static_cast<size_t>(w);
    }
    return close(fd) == 0;
}

bool cliFileRead(const std::string& path, std::string* text)
{
    constexpr off_t kMaxScript = 1 << 20;
    if (!cliPathAllowed(path) || !parentInside(path))
        return false;
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat sb;
    if (fstat(fd, &sb) != 0 || !S_ISREG(sb.st_mode) || sb.st_size > kMaxScript) {
        close(fd);
        return false;
    }
    text->clear();
    char buf[8192];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        text->append(buf, static_cast<size_t>(n));
        if (text->size() > static_cast<size_t>(kMaxScript)) {
            close(fd);
            return false;
        }
    }
    close(fd);
    return true;
}

void cliPrepareWorkDir()
{
    for (const char* dir : {"/mnt", "/mnt/application", "/mnt/application/oxel", "/mnt/application/oxel/tmp"})
        mkdir(dir, 0755);
}

}  // namespace sim
