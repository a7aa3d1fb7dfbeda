// The words of a CLI row. A route served through the switch's CLI states in
// its table row, by name, what it runs and what it answers:
//
//   CLI(iphelper, "admin-mode", PUT, handler, ip6cli::globalPut,
//       READS(B, "adminMode"), TAKES(kEnable), SENDS("configure\nip helper enable\nexit\n"),
//       ELSE_SENDS("configure\nno ip helper enable\nexit\n"), SCRIPT("iph_admin"))
//
// The parts after the class fold into one CliRow, which the class reads; a
// class holds no command, file name, label or member of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "access/cli_text.h"
#include "access/show_parse_routing.h"

namespace clirow {

/// Where a row reads a request value: the query string or the JSON body.
enum Src : uint8_t { kNoSrc, kFromQ, kFromB };

/// How a request value chooses the text a row sends.
enum Choice : uint8_t {
    kValue,     // number into "%u"; 0 sends ELSE_SENDS where the row has it
    kIsOne,     // SENDS when the number is 1, else ELSE_SENDS
    kNonZero,   // SENDS unless the number is 0 or absent
    kFlag,      // true (or a number other than 0) SENDS; false, 0 or absent ELSE_SENDS
    kEnable,    // the string "enable" SENDS; any other string or none ELSE_SENDS
    kPrefWord,  // 1 "high", 2 "low", anything else "medium" into "%s"
    kIntfName,  // an interface number, by its CLI name into "%s"
    kWhen,      // the string WHEN SENDS; any other string ELSE_SENDS
    kWord,      // a string of one word (1 to MAX_LEN printable characters, no blank) into "%s"
    kFixed,     // no value: SENDS as it stands
};

/// Which interface a row's text or show is about: the VLAN of its routing
/// interface ("interface vlan N") or a port by unit/slot/port.
enum Scope : uint8_t { kNoScope, kVlanScope, kPortScope };

enum PartKind : uint8_t {
    kShowPart, kOutputPart, kCapPart, kScriptPart, kElseScriptPart, kLabelPart, kAnswersPart, kReadsPart,
    kSendsPart, kElseSendsPart, kAsPart, kTakesPart, kScopePart, kEchoPart, kPicksPart, kWhenPart, kMaxLenPart,
    kApplyInPart,
};

/// One named word of a row (built by the macros below).
struct Part {
    PartKind kind;
    const char* text;
    size_t number;
    uint8_t code;
};

/// Everything a row says, gathered.
struct CliRow {
    const char* show = nullptr;        ///< SHOW: command; "%u" takes the scope's number, "%s" its name
    const char* output = nullptr;      ///< OUTPUT: stem of the show output file ("oxel_out_<stem>")
    size_t cap = clitext::kShowCap;    ///< CAP: most of the show output read
    const char* script = nullptr;      ///< SCRIPT: stem of the script pair ("oxel_in_<stem>", "oxel_out_<stem>")
    const char* elseScript = nullptr;  ///< ELSE_SCRIPT: the script pair of the row's other case
    const char* label = nullptr;       ///< LABEL: the label(s) read, "a|b" for the first found
    const char* answers = nullptr;     ///< ANSWERS: the answer member
    const char* reads[2] = {nullptr, nullptr};  ///< READS: request members, in row order
    Src readsFrom[2] = {kNoSrc, kNoSrc};
    const char* sends = nullptr;       ///< SENDS: CLI text ("%u" or "%s" takes the value)
    const char* elseSends = nullptr;   ///< ELSE_SENDS: the text of the row's other case
    showparse::ValueConv as = showparse::kNumber;  ///< AS: how the label's value is answered
    Choice takes = kFixed;             ///< TAKES: how the request value chooses the text
    Scope scope = kNoScope;            ///< IN_VLAN / IN_PORT: query member naming the interface
    const char* scopeQuery = nullptr;
    bool echoes = false;               ///< ECHOES_SCOPE: the scope's number answered before the value
    uint8_t picks = 0;                 ///< PICKS: a class's own choice (an enumerator of its header)
    const char* when = nullptr;        ///< WHEN: the word that SENDS (TAKES(kWhen))
    size_t maxLen = 0;                 ///< MAX_LEN: most characters of a value (0: the class's own bound)
    const char* applyIn = nullptr;     ///< APPLY_IN: the configuration mode a text is applied in

    static constexpr CliRow of(std::initializer_list<Part> parts)
    {
        CliRow r;
        for (const Part& p : parts)
            r.add(p);
        return r;
    }

private:
    constexpr void add(const Part& p)
    {
        switch (p.kind) {
        case kShowPart: show = p.text; break;
        case kOutputPart: output = p.text; break;
        case kCapPart: cap = p.number; break;
        case kScriptPart: script = p.text; break;
        case kElseScriptPart: elseScript = p.text; break;
        case kLabelPart: label = p.text; break;
        case kAnswersPart: answers = p.text; break;
        case kReadsPart: {
            int i = reads[0] ? 1 : 0;
            reads[i] = p.text;
            readsFrom[i] = static_cast<Src>(p.code);
            break;
        }
        case kSendsPart: sends = p.text; break;
        case kElseSendsPart: elseSends = p.text; break;
        case kAsPart: as = static_cast<showparse::ValueConv>(p.code); break;
        case kTakesPart: takes = static_cast<Choice>(p.code); break;
        case kScopePart:
            scope = static_cast<Scope>(p.code);
            scopeQuery = p.text;
            break;
        case kEchoPart: echoes = true; break;
        case kPicksPart: picks = p.code; break;
        case kWhenPart: when = p.text; break;
        case kMaxLenPart: maxLen = p.number; break;
        case kApplyInPart: applyIn = p.text; break;
        }
    }
};

/// A class as a row calls it: the row's context, then the row's parts.
template <class Ctx, int (*fn)(const Ctx&, const CliRow&)>
struct RowClass {
    template <class... P>
    int operator()(const Ctx& ctx, P... parts) const
    {
        return fn(ctx, CliRow::of({parts...}));
    }
};

}  // namespace clirow

/// The show command a view runs.
#define SHOW(command) ::clirow::Part{::clirow::kShowPart, command, 0, 0}
/// The stem of the view's show output file.
#define OUTPUT(stem) ::clirow::Part{::clirow::kOutputPart, stem, 0, 0}
/// The most of the show output read (default: 1 MiB).
#define CAP(bytes) ::clirow::Part{::clirow::kCapPart, nullptr, bytes, 0}
/// The stem of the script pair a change applies.
#define SCRIPT(stem) ::clirow::Part{::clirow::kScriptPart, stem, 0, 0}
/// The stem of the script pair of the row's other case.
#define ELSE_SCRIPT(stem) ::clirow::Part{::clirow::kElseScriptPart, stem, 0, 0}
/// The label of the show output line read ("a|b": the first found).
#define LABEL(labels) ::clirow::Part{::clirow::kLabelPart, labels, 0, 0}
/// The member the answer carries.
#define ANSWERS(member) ::clirow::Part{::clirow::kAnswersPart, member, 0, 0}
/// A request member read: READS(Q, "ipAddr") from the query, READS(B, "mode") from the body.
#define READS(src, member) ::clirow::Part{::clirow::kReadsPart, member, 0, ::clirow::kFrom##src}
/// The CLI text sent.
#define SENDS(text) ::clirow::Part{::clirow::kSendsPart, text, 0, 0}
/// The CLI text of the row's other case (0, disabled, no interface ...).
#define ELSE_SENDS(text) ::clirow::Part{::clirow::kElseSendsPart, text, 0, 0}
/// How the label's value is answered: AS(kMode), AS(kNumber) ... (showparse::ValueConv).
#define AS(conv) ::clirow::Part{::clirow::kAsPart, nullptr, 0, ::showparse::conv}
/// How the request value chooses the text: TAKES(kValue) ... (clirow::Choice).
#define TAKES(choice) ::clirow::Part{::clirow::kTakesPart, nullptr, 0, ::clirow::choice}
/// The interface is the routing interface of VLAN <query member>.
#define IN_VLAN(query) ::clirow::Part{::clirow::kScopePart, query, 0, ::clirow::kVlanScope}
/// The interface is the port of interface number <query member>.
#define IN_PORT(query) ::clirow::Part{::clirow::kScopePart, query, 0, ::clirow::kPortScope}
/// The answer repeats the scope's number under the query member's name.
#define ECHOES_SCOPE ::clirow::Part{::clirow::kEchoPart, nullptr, 0, 0}
/// A class's own choice, an enumerator its header declares.
#define PICKS(choice) ::clirow::Part{::clirow::kPicksPart, nullptr, 0, static_cast<uint8_t>(choice)}
/// The word of a request string that SENDS (TAKES(kWhen)); any other ELSE_SENDS.
#define WHEN(word) ::clirow::Part{::clirow::kWhenPart, word, 0, 0}
/// The most characters of a value read or taken.
#define MAX_LEN(n) ::clirow::Part{::clirow::kMaxLenPart, nullptr, n, 0}
/// The configuration mode a row's text is applied in ("vlan database" ...),
/// where the class offers more than one.
#define APPLY_IN(mode) ::clirow::Part{::clirow::kApplyInPart, mode, 0, 0}
