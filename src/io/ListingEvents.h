// Where the listing events of the process go: the sink a client installed for one listing, or,
// when none is, the text rendering into the stream being written. The one named place of this
// process-wide state (one listing at a time, as the listing offset).
#ifndef MORVIT_IO_LISTINGEVENTS_H
#define MORVIT_IO_LISTINGEVENTS_H

#include <string>
#include <string_view>

#include "morvit/VListingEvents.h"
#include "morvit/platform.h"

struct TBATerminal;

namespace morvit::events {

// The installed sink, or null: text listings then go to the stream they are written to.
morvit::VListingSink* InstalledSink();

// Installs `sink` for as long as the object lives; the one before comes back afterwards.
class SinkScope {
 public:
  explicit SinkScope(morvit::VListingSink& sink);
  ~SinkScope();
  SinkScope(const SinkScope&) = delete;
  SinkScope& operator=(const SinkScope&) = delete;

 private:
  morvit::VListingSink* m_previous;
};

// The text rendering: each field's and each text's characters, in order, into `file`; each
// listing line of a field with one Write call, as the writers of the class listings promise.
class FileTextRenderer : public morvit::VListingSink {
 public:
  explicit FileTextRenderer(CFile& file) : m_file(file) {}
  void Field(const morvit::VListingField& field) override;
  void Text(std::string_view text) override;

 private:
  CFile& m_file;
};

// Events of a listing written into `file`: to the installed sink, else rendered as text into
// the file. Structure events render as nothing in text.
void Field(CFile& file, const morvit::VListingField& field);
void Text(CFile& file, std::string_view text);
void Begin(const morvit::VListingBegin& begin);
void End(morvit::VListingPlace kind);
// A listing file begins for the file `name` of `size` bytes; its part number counts the files
// begun since the sink was installed, from 0.
void FileBegins(std::string_view name, std::uint64_t size);
// The listing stops short, at `offset` (-1: not known), for `reason`; nothing in text.
void Stop(std::int64_t offset, std::string_view reason);

// Structure of a listing written when `listing` is non-zero (writers called for data say
// nothing): a header of `name` from the listing offset on, its end.
void BeginHeader(int listing, std::string_view name);
void EndHeader(int listing);

// Fields listed while a TimeStampScope lives are marked as time stamps.
class TimeStampScope {
 public:
  TimeStampScope();
  ~TimeStampScope();
  TimeStampScope(const TimeStampScope&) = delete;
  TimeStampScope& operator=(const TimeStampScope&) = delete;

 private:
  bool m_previous;
};
bool InTimeStamp();

// Values: handed to the installed sink only (the text listing shows fields alone). A value
// spanning several fields is told once, by the writer that knows the whole; the writers it calls
// for the fields keep quiet while an InnerValues lives.
bool ValuesWanted();
void Value(const morvit::VListingValue& value);
class InnerValues {
 public:
  InnerValues();
  ~InnerValues();
  InnerValues(const InnerValues&) = delete;
  InnerValues& operator=(const InnerValues&) = delete;
};
// A text value (or a code or enumeration with its text and `number`) of `length` declared
// characters from `chars` (cut at the first zero byte, which fills a fixed-width text), over
// `width` file bytes from `offset`.
void TextValue(std::int64_t offset, std::uint32_t width, std::string_view label,
               std::string_view chars, morvit::VValueKind kind = morvit::VValueKind::text,
               std::int64_t number = 0);
// The value of a terminal (its type code and what follows it, `width` bytes from `offset`), of
// the kind its code names; a code without a value gives the code alone as a number.
void TerminalValue(std::int64_t offset, std::uint32_t width, const TBATerminal& terminal,
                   const char* label);
// A date and time as values show it: "YYYY-MM-DD hh:mm:ss.mmm".
std::string DateTimeText(unsigned year, unsigned month, unsigned day, unsigned hour,
                         unsigned minute, unsigned second, unsigned millisecond);

// Whether the listing's sink takes the text of fields (the text rendering always does).
bool TextWanted();

// A buffer for the text of the field being listed, kept so that a line costs no allocation.
std::string& LineBuffer();

// A label as a field carries it: without trailing blanks and tabs.
std::string_view TrimLabel(std::string_view label);

}  // namespace morvit::events

#endif  // MORVIT_IO_LISTINGEVENTS_H
