// Kills at random moments: a scripted session over the five tables (inserts, edits and deletes,
// photos and invoice images included) runs in a child process and is killed with SIGKILL at a
// random time, again and again on the same Data folder. After every kill a fresh start must
// show each record whose post had returned, open every table file, never apply a journal twice
// and never hand out an auto-increment number again.
//
// WF_CRASH_RUNS sets the number of runs (default 40, 15 under AddressSanitizer, which is there
// to find memory faults and runs each session several times slower); WF_CRASH_SEED the first seed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <sstream>

#include "store/crc32c.h"
#include "store/data_folder_lock.h"
#include "store/data_module.h"
#include "table_fixture.h"

namespace wf::test {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultRuns = 15;
#else
constexpr int kDefaultRuns = 40;
#endif

constexpr int kTables = 5;
const char* const kFiles[kTables] = {"Vehicle", "Service", "ServiceLine", "ServiceInvoice",
                                     "Expense"};

TClientTable& tableOf(TDataModule1& dm, int t) {
  TClientTable* tables[kTables] = {&dm.tblVehicle, &dm.tblService, &dm.tblServiceLine,
                                   &dm.tblServiceInvoice, &dm.tblExpenses};
  return *tables[t];
}

bool isKey(const TField& field) { return field.DataType() == ftAutoInc; }

void putValue(std::string& out, const Value& v) {
  out += char('0' + int(v.blankState()));
  if (v.isInt()) out += std::to_string(v.toInt());
  if (v.isDouble()) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", v.toDouble());
    out += text;
  }
  if (v.isBytes()) {
    out += std::to_string(v.bytes().size()) + ":" +
           std::to_string(crc32c(v.bytes().data(), v.bytes().size()));
  }
  out += ',';
}

// The record's fields except its key, as one short text; equal records give equal texts.
std::string fingerprintAt(TClientTable& table, int row) {
  std::string out;
  for (int i = 0; i < table.fieldCount(); ++i) {
    TField& field = table.field(i);
    if (field.FieldKind() == fkData && !isKey(field)) putValue(out, table.valueAt(row, field));
  }
  return out;
}

std::string fingerprintOfBuffer(TClientTable& table) {
  std::string out;
  for (int i = 0; i < table.fieldCount(); ++i) {
    TField& field = table.field(i);
    if (field.FieldKind() == fkData && !isKey(field)) putValue(out, field.value());
  }
  return out;
}

int keyAt(TClientTable& table, int row) {
  for (int i = 0; i < table.fieldCount(); ++i)
    if (isKey(table.field(i))) return int(table.valueAt(row, table.field(i)).toInt());
  return -1;
}

// The five tables as the program opens them, without master ranges so that every record is
// visible, each with its journal beside its file.
TDataModule1* openTables(const std::string& data, std::ostream& report) {
  auto* dm = new TDataModule1();  // never freed: the process dies with its tables open
  for (int t = 0; t < kTables; ++t) {
    TClientTable& table = tableOf(*dm, t);
    table.setMasterSource(nullptr);
    table.setFileName(data + kFiles[t] + ".cds");
    table.setJournalFileName(data + kFiles[t] + ".journal");
    try {
      if (std::filesystem::exists(table.FileName()))
        table.open();
      else
        table.createDataSet();
      table.setLogChanges(false);
    } catch (const std::exception& failure) {
      report << "F " << t << " " << failure.what() << "\n";
    }
  }
  for (int t = 0; t < kTables; ++t) {
    TClientTable::JournalRecovery recovery = tableOf(*dm, t).recoverJournal();
    report << "R " << t << " " << int(recovery.outcome) << " " << recovery.changes << "\n";
  }
  return dm;
}

// Lines go to the parent unbuffered, each in one write, so a kill never splits one.
void say(int fd, const std::string& line) {
  std::string text = line + "\n";
  if (::write(fd, text.data(), text.size()) != ssize_t(text.size())) ::_exit(20);
}

void fillRandom(TClientTable& table, std::mt19937& rng) {
  auto letters = [&](int most) {
    std::string s(1 + rng() % most, 'A');
    for (char& c : s) c = char('A' + rng() % 26);
    return s;
  };
  for (int i = 0; i < table.fieldCount(); ++i) {
    TField& field = table.field(i);
    if (field.FieldKind() != fkData || isKey(field)) continue;
    if (rng() % 10 == 0) {
      field.Clear();
      continue;
    }
    switch (field.DataType()) {
      case ftString: field.setAsString(letters(std::min(field.Size(), 12))); break;
      case ftInteger: field.setAsInteger(int(rng() % 50)); break;
      case ftSmallint: field.setAsInteger(int(rng() % 100)); break;
      case ftCurrency: field.setAsFloat(double(rng() % 100000) / 100); break;
      case ftDateTime: field.setAsDateTime(40000 + rng() % 10000); break;
      case ftMemo: field.setAsString(letters(200)); break;
      case ftBlob: {
        // Photos and scanned invoices: mostly small, now and then a large one.
        std::string bytes(rng() % 4 == 0 ? 20000 + rng() % 80000 : 1 + rng() % 3000, '\0');
        for (char& c : bytes) c = char(rng());
        field.setAsString(bytes);
        break;
      }
      default: break;
    }
  }
}

// The scripted session of one run: start, a series of posts, Exit. Reports every step:
//   S               started (tables open, journals recovered)
//   P t op key fp   about to post (op I, E or D); A when that post has returned
//   X               Exit begins; C t after table t was written and closed; E when all are
[[noreturn]] void session(const std::string& data, unsigned seed, int fd) {
  DataFolderLock lock(data);
  if (lock.outcome() != DataFolderLock::Outcome::Held) ::_exit(21);
  std::ostringstream ignored;
  TDataModule1* dm = openTables(data, ignored);
  say(fd, "S");
  std::mt19937 rng(seed);
  const int posts = 6 + int(rng() % 15);
  for (int n = 0; n < posts; ++n) {
    const int t = int(rng() % kTables);
    TClientTable& table = tableOf(*dm, t);
    if (!table.Active()) continue;
    const unsigned kind = table.recordCount() == 0 ? 0 : rng() % 10;
    if (kind < 5) {
      table.insert();
      fillRandom(table, rng);
      say(fd, "P " + std::to_string(t) + " I " + std::to_string(table.autoIncValue()) + " " +
                  fingerprintOfBuffer(table));
      table.post();
    } else {
      table.moveTo(int(rng() % unsigned(table.recordCount())));
      const int key = keyAt(table, table.recNo());
      if (kind < 8) {
        table.edit();
        fillRandom(table, rng);
        say(fd, "P " + std::to_string(t) + " E " + std::to_string(key) + " " +
                    fingerprintOfBuffer(table));
        table.post();
      } else {
        say(fd, "P " + std::to_string(t) + " D " + std::to_string(key) + " -");
        table.deleteRecord();
      }
    }
    say(fd, "A");
  }
  say(fd, "X");
  for (int t : {3, 2, 1, 4, 0}) {
    tableOf(*dm, t).close();
    say(fd, "C " + std::to_string(t));
  }
  say(fd, "E");
  ::_exit(0);
}

// A fresh start that reports what it sees, then dies without writing anything:
//   F t message      table t failed to open
//   R t outcome n    journal recovery of table t
//   N t autoinc      the table's next number
//   K t key fp       one record
[[noreturn]] void inspect(const std::string& data, int fd) {
  std::ostringstream report;
  TDataModule1* dm = openTables(data, report);
  for (int t = 0; t < kTables; ++t) {
    TClientTable& table = tableOf(*dm, t);
    if (!table.Active()) continue;
    report << "N " << t << " " << table.autoIncValue() << "\n";
    for (int row = 0; row < table.recordCount(); ++row)
      report << "K " << t << " " << keyAt(table, row) << " " << fingerprintAt(table, row) << "\n";
  }
  std::string text = report.str();
  for (std::size_t done = 0; done < text.size();) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) ::_exit(22);
    done += std::size_t(n);
  }
  ::kill(::getpid(), SIGKILL);
  ::_exit(23);
}

// Runs body in a child, kills it after `killAfter` (never when empty), and returns its lines.
std::vector<std::string> runChild(const std::function<void(int)>& body,
                                  std::optional<std::chrono::microseconds> killAfter) {
  int out[2];
  if (::pipe(out) != 0) return {};
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(out[0]);
    body(out[1]);
    ::_exit(24);
  }
  ::close(out[1]);
  if (killAfter) {
    struct timespec pause {
      std::time_t(killAfter->count() / 1000000), long(killAfter->count() % 1000000) * 1000
    };
    ::nanosleep(&pause, nullptr);
    ::kill(pid, SIGKILL);
  }
  std::string text;
  char buffer[65536];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, std::size_t(n));
  ::close(out[0]);
  ::waitpid(pid, nullptr, 0);
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

using Records = std::map<int, std::string>;  // key -> fingerprint

struct Change {
  int table;
  char op;
  int key;
  std::string fingerprint;
};

void applyChange(std::vector<Records>& state, const Change& c) {
  if (c.op == 'D')
    state[std::size_t(c.table)].erase(c.key);
  else
    state[std::size_t(c.table)][c.key] = c.fingerprint;
}

TEST(JournalCrash, KillsAtRandomMomentsLoseNoReturnedPost) {
  useTestLocale();
  ScratchFolder folder;
  const std::string data = folder.file("Data") + "/";
  std::filesystem::create_directory(data);
  const int runs =
      std::getenv("WF_CRASH_RUNS") ? std::atoi(std::getenv("WF_CRASH_RUNS")) : kDefaultRuns;
  const unsigned firstSeed =
      std::getenv("WF_CRASH_SEED") ? unsigned(std::atoi(std::getenv("WF_CRASH_SEED"))) : 1;
  std::mt19937 timing(firstSeed);

  std::vector<Records> state(kTables);      // what a fresh start must show
  std::vector<int> highestKey(kTables, 0);  // the highest number ever handed out and returned
  std::map<std::string, int> hits;
  std::chrono::microseconds sessionLength{0};
  int replays = 0, setAside = 0;

  for (int run = 0; run < runs; ++run) {
    const unsigned seed = firstSeed + unsigned(run);
    // The first run is not killed: it measures how long a session takes; every session that
    // ends unkilled measures it again.
    std::optional<std::chrono::microseconds> killAfter;
    if (run > 0)
      killAfter =
          std::chrono::microseconds(timing() % std::uint64_t(sessionLength.count() * 6 / 5 + 1));
    auto started = std::chrono::steady_clock::now();
    std::vector<std::string> lines = runChild([&](int fd) { session(data, seed, fd); }, killAfter);
    if (!lines.empty() && lines.back() == "E")
      sessionLength = std::chrono::duration_cast<std::chrono::microseconds>(
          std::chrono::steady_clock::now() - started);

    // What the session reported: the posts that returned, the one in flight, the tables Exit
    // closed.
    std::vector<Records> expected = state;
    std::optional<Change> inFlight;
    std::vector<bool> closedByExit(kTables, false);
    std::string phase = "start-up (open, recovery)";
    for (const std::string& line : lines) {
      std::istringstream in(line);
      char tag = 0;
      in >> tag;
      if (tag == 'S') phase = "between posts";
      if (tag == 'P') {
        Change c;
        in >> c.table >> c.op >> c.key >> c.fingerprint;
        if (c.op == 'I') {
          ASSERT_GT(c.key, highestKey[std::size_t(c.table)])
              << "run " << run << ": number given twice";
        }
        inFlight = c;
        phase = "inside a post (journal append)";
      }
      if (tag == 'A') {
        applyChange(expected, *inFlight);
        if (inFlight->op == 'I') highestKey[std::size_t(inFlight->table)] = inFlight->key;
        inFlight.reset();
        phase = "between posts";
      }
      if (tag == 'X') phase = "Exit writing the tables";
      if (tag == 'C') {
        int t;
        in >> t;
        closedByExit[std::size_t(t)] = true;
      }
      if (tag == 'E') phase = "not killed (session ended)";
    }
    ++hits[phase];

    // A fresh start.
    std::vector<std::string> seen = runChild([&](int fd) { inspect(data, fd); }, std::nullopt);
    std::vector<Records> found(kTables);
    std::vector<int> next(kTables, 0);
    for (const std::string& line : seen) {
      std::istringstream in(line);
      char tag = 0;
      int t = 0;
      in >> tag >> t;
      ASSERT_NE(tag, 'F') << "run " << run << " (" << phase
                          << "): a table file is damaged: " << line;
      if (tag == 'R') {
        int outcome, changes;
        in >> outcome >> changes;
        if (outcome == int(TClientTable::JournalRecovery::Outcome::Replayed) && changes > 0) {
          ++replays;
          EXPECT_FALSE(closedByExit[std::size_t(t)])
              << "run " << run << ": table " << kFiles[t]
              << " was written at Exit, yet its journal was applied again";
        }
        if (outcome == int(TClientTable::JournalRecovery::Outcome::SetAside)) ++setAside;
      }
      if (tag == 'N') in >> next[std::size_t(t)];
      if (tag == 'K') {
        int key;
        std::string fingerprint;
        in >> key >> fingerprint;
        EXPECT_TRUE(found[std::size_t(t)].emplace(key, fingerprint).second)
            << "run " << run << ": key " << key << " twice";
      }
    }
    std::vector<Records> withInFlight = expected;
    if (inFlight) applyChange(withInFlight, *inFlight);
    const bool asReturned = found == expected;
    ASSERT_TRUE(asReturned || found == withInFlight)
        << "run " << run << " (seed " << seed << ", killed " << phase
        << "): the records differ from the posts that returned";
    if (!asReturned && inFlight->op == 'I')
      highestKey[std::size_t(inFlight->table)] = inFlight->key;
    for (int t = 0; t < kTables; ++t) {
      ASSERT_GT(next[std::size_t(t)], highestKey[std::size_t(t)])
          << "run " << run << ": " << kFiles[t] << " would give a number again";
    }
    state = found;
  }

  std::cout << "[ kills    ] " << runs - 1 << " kill attempts, sessions of about "
            << sessionLength.count() / 1000 << " ms; journals applied " << replays
            << " times, set aside " << setAside << " times\n";
  for (const auto& [phase, count] : hits)
    std::cout << "[ kills    ]   " << count << " x " << phase << "\n";
}

}  // namespace
}  // namespace wf::test
