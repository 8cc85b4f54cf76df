// stream: every line of a file or of standard input, and its column mode
// (CSV as RFC 4180 describes it: cells separated by a delimiter, a cell in
// double quotes may hold delimiters, line ends and doubled quotes).
//
// The input is read in 1 MiB pieces and scanned byte by byte; no line is
// ever held whole.  The plain mode with a numeric format takes a quicker
// road for the lines that lie whole in a piece: each is found with memchr,
// read in place and rendered straight into the output buffer through one
// call block; a line that is anything but a plain success there (a
// missing notation, a warning, a failure) goes the general way.  Cells of
// columns that no format applies to are copied to the output as they arrive.  A
// cell that a format reads is collected up to 64 KiB (more than the widest
// format or informat reads); a longer cell is used up to that size, with a
// warning.  Rows end in the output as they ended in the input (LF or CR LF).  A
// cell written by the tool is quoted when it holds the delimiter, a quote or a
// line end; a copied cell keeps its quotes.
//
// A row too short to hold a formatted column is passed on with a warning.
// A value that fails is reported with its line and column; the row is
// still written, the cell keeping its original text (empty with
// --bad-as-empty; in the plain mode the output line is empty).  A summary
// line counts failures and warnings at the end.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

#include "commands.h"
#include "host_text.h"
#include "output.h"
#include "progress.h"
#include "report.h"
#include "session.h"

namespace valfmt_tool {
namespace {

constexpr std::size_t kMaxCellBytes = std::size_t{1} << 16;
constexpr std::size_t kReadBytes = std::size_t{1} << 20;
// Longer lines are no plain numbers; they go the general way.
constexpr std::size_t kQuickLineBytes = 256;
constexpr int kNoDelimiter = -1;

class Streamer {
public:
  Streamer(const Options &opt, int delimiter)
      : opt_(opt), delimiter_(delimiter), rep_(opt.quiet, opt.strict),
        progress_(opt.progress) {}

  // The format for column `col` (from 1); false when it does not resolve.
  bool add_column(std::size_t col, const std::string &fmt);
  // Reads `fd` to its end; the exit code.
  int run(int fd, const char *name);

private:
  enum class State { kCellStart, kUnquoted, kQuoted, kQuoteInQuoted, kCR };

  void scan(const char *p, std::size_t n);
  std::size_t quick_lines(const char *p, std::size_t i, std::size_t n);
  void quick_line(const char *q, std::size_t len, bool crlf);
  void begin_cell(bool quoted);
  void cell_byte(char c);
  void end_cell();
  void end_row(bool crlf);
  void process(Session &s);
  void write_cell(const std::string &text);
  int finish();

  const Options &opt_;
  int delimiter_;
  Output out_;
  Reporter rep_;
  ProgressLine progress_;
  std::vector<std::unique_ptr<Session>> sessions_; // by column - 1
  State state_ = State::kCellStart;
  std::size_t col_ = 0;     // column of the current cell, from 1
  bool capture_ = false;    // the current cell is collected
  bool quoted_ = false;     // ... and was quoted
  std::string cell_;        // the collected cell
  std::size_t dropped_ = 0; // bytes beyond kMaxCellBytes
  std::size_t line_ = 1;    // line of the current byte
  std::size_t row_line_ = 1;
  std::size_t rows_ = 0;
  bool in_header_ = false;
  bool quick_ = false; // the plain mode's quick road is open
};

bool Streamer::add_column(std::size_t col, const std::string &fmt) {
  if (sessions_.size() < col) sessions_.resize(col);
  sessions_[col - 1] = std::make_unique<Session>(opt_);
  if (!sessions_[col - 1]->resolve(fmt)) return false;
  quick_ = delimiter_ == kNoDelimiter && sessions_[0]->has_fast_path();
  return true;
}

void Streamer::begin_cell(bool quoted) {
  ++col_;
  if (col_ > 1) out_.put(static_cast<char>(delimiter_));
  quoted_ = quoted;
  capture_ = !in_header_ && col_ <= sessions_.size() && sessions_[col_ - 1];
  cell_.clear();
  dropped_ = 0;
  if (!capture_ && quoted) out_.put('"');
}

void Streamer::cell_byte(char c) {
  if (c == '\n') ++line_;
  if (capture_) {
    if (cell_.size() < kMaxCellBytes)
      cell_.push_back(c);
    else
      ++dropped_;
  } else {
    if (c == '"' && quoted_) out_.put('"');
    out_.put(c);
  }
}

void Streamer::end_cell() {
  if (!capture_) {
    if (quoted_) out_.put('"');
    return;
  }
  if (dropped_ > 0)
    rep_.warn(place(row_line_, delimiter_ == kNoDelimiter ? 0 : col_),
              "cell of " + std::to_string(cell_.size() + dropped_) +
                  " bytes; only its first " + std::to_string(kMaxCellBytes) +
                  " were used");
  process(*sessions_[col_ - 1]);
}

void Streamer::end_row(bool crlf) {
  end_cell();
  // A short row leaves a formatted column out: say so rather than pass
  // the row on as if it had been formatted.
  if (delimiter_ != kNoDelimiter && !in_header_)
    for (std::size_t c = col_ + 1; c <= sessions_.size(); ++c)
      if (sessions_[c - 1]) {
        rep_.warn(place(row_line_), "row of " + std::to_string(col_) +
                                        " cells has no column " +
                                        std::to_string(c));
        break;
      }
  out_.put(crlf ? "\r\n" : "\n", crlf ? 2 : 1);
  ++rows_;
  col_ = 0;
  in_header_ = false;
  row_line_ = ++line_;
  progress_.row();
}

std::string trim_padding(const std::string &s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

void Streamer::process(Session &s) {
  const bool blank = cell_.find_first_not_of(' ') == std::string::npos;
  const bool as_missing = opt_.empty_as_missing && blank &&
                          (s.numeric_format() || s.numeric_informat());
  Result r = as_missing && s.numeric_informat()
                 ? Result{VF_OK, ".", 0, true, {}}
                 : s.apply(as_missing ? std::string(".") : cell_,
                           ValueText::kBytes, true);
  const auto where = [&] {
    return place(row_line_, delimiter_ == kNoDelimiter ? 0 : col_);
  };
  if (!r.usable) {
    rep_.fail(where(), failure_text(s.text(), cell_, r.status, s.informat()));
    if (delimiter_ != kNoDelimiter && !opt_.bad_as_empty) write_cell(cell_);
    return;
  }
  if (!r.warning.empty()) rep_.warn(where(), r.warning);
  write_cell(opt_.trim ? trim_padding(r.shown) : r.shown);
}

// A cell of the tool's own, quoted when it must be.
void Streamer::write_cell(const std::string &text) {
  const bool quote =
      delimiter_ != kNoDelimiter &&
      text.find_first_of(std::string("\"\r\n") +
                         static_cast<char>(delimiter_)) != std::string::npos;
  if (!quote) {
    out_.put(text);
    return;
  }
  out_.put('"');
  for (char c : text) {
    if (c == '"') out_.put('"');
    out_.put(c);
  }
  out_.put('"');
}

// One whole line of the plain mode (its end not included): rendered in
// place when it is a plain success, else through the general road.
void Streamer::quick_line(const char *q, std::size_t len, bool crlf) {
  Session &s = *sessions_[0];
  int32_t got = 0;
  char *o = out_.reserve(s.fast_capacity() + 2);
  if (len <= kQuickLineBytes && s.render_line(q, len, o, &got)) {
    auto k = static_cast<std::size_t>(got);
    if (crlf) o[k++] = '\r';
    o[k++] = '\n';
    out_.commit(k);
    ++rows_;
    row_line_ = ++line_;
    progress_.row();
    return;
  }
  begin_cell(false);
  const std::size_t kept = len < kMaxCellBytes ? len : kMaxCellBytes;
  cell_.assign(q, kept);
  dropped_ = len - kept;
  end_row(crlf);
}

// The whole lines from p[i] on; returns where the first line that does
// not end in this piece begins (n when none).
std::size_t Streamer::quick_lines(const char *p, std::size_t i, std::size_t n) {
  while (i < n) {
    const void *nl = std::memchr(p + i, '\n', n - i);
    if (nl == nullptr) return i;
    const auto end =
        static_cast<std::size_t>(static_cast<const char *>(nl) - p);
    const bool crlf = end > i && p[end - 1] == '\r';
    quick_line(p + i, end - i - (crlf ? 1 : 0), crlf);
    i = end + 1;
  }
  return n;
}

void Streamer::scan(const char *p, std::size_t n) {
  const bool csv = delimiter_ != kNoDelimiter;
  for (std::size_t i = 0; i < n; ++i) {
    if (quick_ && state_ == State::kCellStart && col_ == 0) {
      i = quick_lines(p, i, n);
      if (i == n) return;
    }
    const char c = p[i];
    const bool delim = static_cast<unsigned char>(c) == delimiter_;
    switch (state_) {
    case State::kCR:
      if (c == '\n') {
        end_row(true);
        state_ = State::kCellStart;
        continue;
      }
      cell_byte('\r'); // a lone CR is data
      state_ = State::kUnquoted;
      [[fallthrough]];
    case State::kUnquoted:
    case State::kQuoteInQuoted:
      if (state_ == State::kQuoteInQuoted && c == '"') {
        cell_byte('"');
        state_ = State::kQuoted;
      } else if (delim) {
        end_cell();
        state_ = State::kCellStart;
      } else if (c == '\n') {
        end_row(false);
        state_ = State::kCellStart;
      } else if (c == '\r') {
        state_ = State::kCR;
      } else {
        cell_byte(c); // text after a closing quote is kept
        state_ = State::kUnquoted;
      }
      break;
    case State::kQuoted:
      if (c == '"')
        state_ = State::kQuoteInQuoted;
      else
        cell_byte(c);
      break;
    case State::kCellStart:
      begin_cell(csv && c == '"');
      if (csv && c == '"') {
        state_ = State::kQuoted;
      } else if (delim) {
        end_cell();
      } else if (c == '\n') {
        end_row(false);
      } else if (c == '\r') {
        state_ = State::kCR;
      } else {
        cell_byte(c);
        state_ = State::kUnquoted;
      }
      break;
    }
  }
}

int Streamer::finish() {
  if (state_ == State::kQuoted)
    rep_.warn(place(row_line_, col_), "quoted cell not closed at the end of "
                                      "the input");
  if (state_ != State::kCellStart || col_ > 0) {
    if (state_ == State::kCellStart) begin_cell(false);
    end_row(state_ == State::kCR);
  }
  progress_.finish();
  const bool flushed = out_.flush();
  if (rep_.failures() > 0 || rep_.warnings() > 0)
    std::fprintf(stderr, "valfmt: %zu rows, %zu %s failed, %zu warnings\n",
                 rows_, rep_.failures(),
                 delimiter_ == kNoDelimiter ? "lines" : "cells",
                 rep_.warnings());
  if (!flushed) {
    std::fprintf(stderr, "valfmt: cannot write the output: %s\n",
                 out_.error().c_str());
    return kExitFailed;
  }
  return rep_.exit_code();
}

int Streamer::run(int fd, const char *name) {
  in_header_ = opt_.header;
  std::unique_ptr<char[]> buf(new char[kReadBytes]);
  for (;;) {
    const ssize_t k = ::read(fd, buf.get(), kReadBytes);
    if (k < 0 && errno == EINTR) continue;
    if (k < 0) {
      std::fprintf(stderr, "valfmt: %s: cannot read: %s\n", name,
                   std::strerror(errno));
      finish();
      return kExitFailed;
    }
    if (k == 0) break;
    scan(buf.get(), static_cast<std::size_t>(k));
  }
  return finish();
}

int stream_file(Streamer &s, const std::vector<std::string> &files) {
  if (files.empty()) return s.run(STDIN_FILENO, "standard input");
  if (files.size() > 1) {
    std::fprintf(stderr, "valfmt stream: give at most one FILE\n");
    return kExitUsage;
  }
  const int fd = ::open(files[0].c_str(), O_RDONLY);
  if (fd < 0) {
    std::fprintf(stderr, "valfmt: %s: cannot open: %s\n", files[0].c_str(),
                 std::strerror(errno));
    return kExitUsage;
  }
  const int rc = s.run(fd, files[0].c_str());
  ::close(fd);
  return rc;
}

} // namespace

int run_stream(const Options &opt, const std::vector<std::string> &args) {
  if (!opt.csv) {
    if (opt.header || opt.trim || opt.bad_as_empty || opt.empty_as_missing) {
      std::fprintf(stderr, "valfmt stream: --header, --trim, --bad-as-empty "
                           "and --empty-as-missing go with --csv\n");
      return kExitUsage;
    }
    if (args.empty()) {
      std::fprintf(stderr, "valfmt stream: give a FORMAT (or --csv and "
                           "--col N=FORMAT)\n");
      return kExitUsage;
    }
    Streamer s(opt, kNoDelimiter);
    if (!s.add_column(1, args[0])) return kExitUsage;
    return stream_file(s,
                       std::vector<std::string>(args.begin() + 1, args.end()));
  }
  if (opt.columns.empty()) {
    std::fprintf(stderr, "valfmt stream --csv: give at least one "
                         "--col N=FORMAT\n");
    return kExitUsage;
  }
  Streamer s(opt, static_cast<unsigned char>(opt.delimiter));
  for (const ColumnFormat &c : opt.columns)
    if (!s.add_column(c.column, c.format)) return kExitUsage;
  return stream_file(s, args);
}

} // namespace valfmt_tool
