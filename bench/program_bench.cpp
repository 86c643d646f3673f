// Whole-program figures, as a person feels them, on a Data folder made by fleet_data:
//
//   program_bench [--runs=N] [--settle=SECONDS] [--only=startup,memory,exit,report] PROGRAM
//                 FLEET_FOLDER [MORE_FOLDERS...]
//
// Start-up and memory are measured on every folder given (for example the default fleet and a
// row-heavy one, see fleet_data), exit and report on the first.
//
//  startup  process start to the main window's first paint of PROGRAM (the real program, through
//           its WRENFOLD_FIRST_PAINT_STAMP hook), with an empty Data folder and with the fleet,
//           and in the same runs the time to read the fleet's files into fresh memory.
//  memory   resident size of PROGRAM at its first paint, as a ratio to the fleet files' size.
//  exit     on a copy of the fleet: one change in each table, then Exit clicked; click to process
//           end and to the start of the closing window's first paint. In the same run: the five
//           table closes alone (encode, write, fsync, rename) and writing the same bytes alone
//           (write, fsync, rename) in four ways, the fastest being the baseline; and the same
//           bytes written alone by a child holding the tables open, as the close's child does.
//           Every timed writer starts after the same pause (see settleMemory).
//  report   the service report of vehicle 1: click to the first page on screen and to the last
//           page on screen.
//
// The exit, close and report measurements run the program's windows inside a child process of
// this driver (the same start-up as the program's main), so the process end can be timed.
// Times are CLOCK_MONOTONIC; every figure is the median of the runs, with the load average.
#include "app/app_instances.h"
#include "app/frm_closing.h"
#include "app/frm_main.h"
#include "controls/grad_button.h"
#include "framework/wf_application.h"
#include "reports/rep_preview.h"
#include "reports/rep_printer.h"
#include "reports/rep_standard_preview.h"
#include "store/collation.h"
#include "store/data_module.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const kTableFiles[] = {"Vehicle.cds", "Service.cds", "ServiceLine.cds",
                                   "ServiceInvoice.cds", "Expense.cds"};

int64_t monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void stamp(const char* key, int64_t value) {
  std::printf("%s %lld\n", key, static_cast<long long>(value));
  std::fflush(stdout);
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::string loadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what +
                           (errno ? std::string(": ") + std::strerror(errno) : std::string()));
}

// ---- child processes -------------------------------------------------------------------------

// A child whose standard output is read line by line as "key value" stamps.
class Child {
 public:
  Child(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) fail("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envStrings(extraEnv);
    for (char** e = environ; *e != nullptr; ++e) envStrings.emplace_back(*e);
    std::vector<char*> env;
    for (std::string& entry : envStrings) env.push_back(entry.data());
    env.push_back(nullptr);
    started_ = monotonicNs();
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
      close(pipeFds[0]);
      errno = rc;
      fail("cannot start " + args[0]);
    }
    out_ = fdopen(pipeFds[0], "r");
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      wait();
    }
    if (out_ != nullptr) fclose(out_);
  }

  int64_t started() const { return started_; }
  pid_t pid() const { return pid_; }

  // Reads stamps until `key` arrives (true) or the output ends (false).
  bool readUntil(const std::string& key) {
    char* line = nullptr;
    std::size_t capacity = 0;
    bool found = false;
    while (!found && getline(&line, &capacity, out_) > 0) {
      std::istringstream fields(line);
      std::string name;
      long long value = 0;
      if (fields >> name >> value) {
        stamps_[name] = value;
        found = name == key;
      }
    }
    free(line);
    return found;
  }
  int64_t at(const std::string& key) const {
    const auto it = stamps_.find(key);
    if (it == stamps_.end()) throw std::runtime_error("the child printed no " + key);
    return it->second;
  }
  const std::map<std::string, int64_t>& stamps() const { return stamps_; }

  // Waits for the end of the process; returns the monotonic time it was seen to end.
  int64_t wait() {
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {}
    const int64_t ended = monotonicNs();
    pid_ = -1;
    status_ = status;
    return ended;
  }
  bool exitedCleanly() const { return WIFEXITED(status_) && WEXITSTATUS(status_) == 0; }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  int64_t started_ = 0;
  int status_ = 0;
  std::map<std::string, int64_t> stamps_;
};

// ---- files -----------------------------------------------------------------------------------

std::uintmax_t folderBytes(const fs::path& folder) {
  std::uintmax_t total = 0;
  for (const char* name : kTableFiles)
    if (fs::exists(folder / name)) total += fs::file_size(folder / name);
  return total;
}

// Reads the five files into freshly allocated memory (page faults included), as a program
// loading them would at least have to; returns the seconds taken.
double readIntoFreshMemory(const fs::path& folder) {
  std::vector<char*> buffers;
  const int64_t start = monotonicNs();
  for (const char* name : kTableFiles) {
    const int fd = open((folder / name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    fstat(fd, &info);
    char* buffer = static_cast<char*>(std::malloc(std::size_t(info.st_size) + 1));
    std::size_t done = 0;
    while (done < std::size_t(info.st_size)) {
      const ssize_t got = read(fd, buffer + done, std::size_t(info.st_size) - done);
      if (got <= 0) break;
      done += std::size_t(got);
    }
    close(fd);
    buffers.push_back(buffer);
  }
  const double seconds = double(monotonicNs() - start) / 1e9;
  for (char* buffer : buffers) std::free(buffer);
  return seconds;
}

std::vector<std::vector<char>> readAll(const fs::path& folder) {
  std::vector<std::vector<char>> contents;
  for (const char* name : kTableFiles) {
    std::ifstream in(folder / name, std::ios::binary);
    contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return contents;
}

// Writing a file takes fresh page-cache pages, and on a virtual machine whose host backs guest
// memory lazily the first write to a page can cost microseconds, unless the page was freed a
// moment ago and not yet handed back to the host (the guest reports free pages about 2 s after
// freeing them). A writer that runs right after another writer's rename, which frees the replaced
// file's pages, gets such warm pages and can write several times faster than the writer before
// it. So every timed writer, the table closes and each way of writing alone, starts after the
// same pause, long enough for the freed pages to go back. --settle=SECONDS changes it (the smoke
// test sets 0); the driver passes it to its children in the environment.
constexpr const char* kSettleVariable = "PROGRAM_BENCH_SETTLE_SECONDS";

void settleMemory() {
  const char* seconds = std::getenv(kSettleVariable);
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds ? std::atof(seconds) : 4.0));
}

// Seconds per GB for the first write to fresh memory, after the same pause: what a page newly
// taken from the kernel costs on this machine, printed beside the writing figures.
double freshMemorySecondsPerGb() {
  settleMemory();
  constexpr std::size_t kProbe = std::size_t(256) << 20;
  void* memory = mmap(nullptr, kProbe, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) fail("cannot map memory for the fresh-memory probe");
  const int64_t start = monotonicNs();
  std::memset(memory, 1, kProbe);
  const double seconds = double(monotonicNs() - start) / 1e9;
  munmap(memory, kProbe);
  return seconds * double(std::size_t(1) << 30) / double(kProbe);
}

// One way of writing a file alone: bytes per write call (0: all in one call), and how often the
// kernel is asked to start putting what was written on disk (write-behind; 0: only at fsync).
struct WriteWay {
  const char* label;
  std::size_t writeSize;
  std::size_t writeBehindStep;
};

// The table close's own pattern.
constexpr WriteWay kClosesWriteWay = {"1 MB writes, write-behind every 8 MB", std::size_t(1) << 20,
                                      std::size_t(8) << 20};

constexpr WriteWay kWriteWays[] = {
    {"in one write", 0, 0},
    {"256 KB writes, write-behind every 8 MB", std::size_t(256) << 10, std::size_t(8) << 20},
    kClosesWriteWay,
    {"8 MB writes, write-behind every 8 MB", std::size_t(8) << 20, std::size_t(8) << 20},
};

// Writes the given bytes over the five files the way a careful program replaces a file: a
// temporary beside it, write, fsync, rename, fsync of the folder. Returns the seconds taken.
double writeAlone(const fs::path& folder, const std::vector<std::vector<char>>& contents,
                  const WriteWay& way) {
  const int64_t start = monotonicNs();
  for (std::size_t i = 0; i < contents.size(); ++i) {
    const fs::path target = folder / kTableFiles[i];
    const fs::path temp = target.string() + ".alone";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail("cannot create " + temp.string());
    const std::size_t size = contents[i].size();
    std::size_t done = 0;
    std::size_t flushed = 0;
    while (done < size) {
      const std::size_t chunk =
          way.writeSize > 0 ? std::min(way.writeSize, size - done) : size - done;
      const ssize_t put = write(fd, contents[i].data() + done, chunk);
      if (put <= 0) fail("cannot write " + temp.string());
      done += std::size_t(put);
      if (way.writeBehindStep > 0 && done - flushed >= way.writeBehindStep) {
        sync_file_range(fd, off_t(flushed), off_t(done - flushed), SYNC_FILE_RANGE_WRITE);
        flushed = done;
      }
    }
    if (fsync(fd) != 0) fail("fsync");
    close(fd);
    if (rename(temp.c_str(), target.c_str()) != 0) fail("rename");
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
  }
  return double(monotonicNs() - start) / 1e9;
}

void copyFolder(const fs::path& from, const fs::path& to) {
  fs::create_directories(to);
  for (const char* name : kTableFiles)
    if (fs::exists(from / name))
      fs::copy_file(from / name, to / name, fs::copy_options::overwrite_existing);
}

// A folder holding a copy of PROGRAM with a Data folder beside it (a link to `data`, or an
// empty folder), since the program reads its tables from beside itself.
fs::path programFolder(const fs::path& root, const fs::path& program, const fs::path* data) {
  fs::remove_all(root);
  fs::create_directories(root);
  fs::copy_file(program, root / "wrenfold");
  if (data != nullptr)
    fs::create_directory_symlink(fs::absolute(*data), root / "Data");
  else
    fs::create_directories(root / "Data");
  return root / "wrenfold";
}

// ---- start-up and memory ---------------------------------------------------------------------

double startupSeconds(const fs::path& program) {
  Child child({program.string()}, {"WRENFOLD_FIRST_PAINT_STAMP=quit"});
  if (!child.readUntil("first-paint"))
    throw std::runtime_error("the program printed no first-paint stamp");
  child.wait();
  return double(child.at("first-paint") - child.started()) / 1e9;
}

std::uintmax_t statusKilobytes(pid_t pid, const std::string& key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key + ":", 0) == 0)
      return std::strtoull(line.c_str() + key.size() + 1, nullptr, 10);
  return 0;
}

struct Resident {
  double rssBytes = 0;
  double peakBytes = 0;
};

Resident residentAtFirstPaint(const fs::path& program) {
  Child child({program.string()}, {"WRENFOLD_FIRST_PAINT_STAMP=1"});
  if (!child.readUntil("first-paint"))
    throw std::runtime_error("the program printed no first-paint stamp");
  Resident r{double(statusKilobytes(child.pid(), "VmRSS")) * 1024,
             double(statusKilobytes(child.pid(), "VmHWM")) * 1024};
  kill(child.pid(), SIGTERM);  // nothing was changed, so nothing is lost
  child.wait();
  return r;
}

void measureStartup(const fs::path& work, const fs::path& program, const fs::path& fleet,
                    int runs) {
  const fs::path emptyProgram = programFolder(work / "empty", program, nullptr);
  const fs::path fleetProgram = programFolder(work / "fleet", program, &fleet);
  const double bytes = double(folderBytes(fleet));
  // Warm-up: the files and the program's libraries in the page cache.
  readIntoFreshMemory(fleet);
  startupSeconds(emptyProgram);
  startupSeconds(fleetProgram);
  std::vector<double> empty, full, read;
  for (int i = 0; i < runs; ++i) {
    read.push_back(readIntoFreshMemory(fleet));
    empty.push_back(startupSeconds(emptyProgram));
    full.push_back(startupSeconds(fleetProgram));
  }
  const double extra = median(full) - median(empty);
  std::printf("startup: %s, fleet files %.0f MB; median of %d runs, load average %s\n",
              fleet.string().c_str(), bytes / 1e6, runs, loadAverage().c_str());
  std::printf("  start to first paint, empty Data folder   %8.3f s\n", median(empty));
  std::printf("  start to first paint, fleet Data folder   %8.3f s\n", median(full));
  std::printf("  read the fleet files into fresh memory    %8.3f s (%.0f MB/s)\n", median(read),
              bytes / median(read) / 1e6);
  std::printf("  fleet start - empty start = %.2f x the read time (goal <= 2)\n",
              extra / median(read));
}

void measureMemory(const fs::path& work, const fs::path& program, const fs::path& fleet, int runs) {
  const fs::path emptyProgram = programFolder(work / "empty", program, nullptr);
  const fs::path fleetProgram = programFolder(work / "fleet", program, &fleet);
  const double bytes = double(folderBytes(fleet));
  std::vector<double> rss, peak, emptyRss;
  for (int i = 0; i < runs; ++i) {
    const Resident r = residentAtFirstPaint(fleetProgram);
    rss.push_back(r.rssBytes);
    peak.push_back(r.peakBytes);
    emptyRss.push_back(residentAtFirstPaint(emptyProgram).rssBytes);
  }
  std::printf("memory: %s, median of %d runs, load average %s\n", fleet.string().c_str(), runs,
              loadAverage().c_str());
  std::printf(
      "  resident at first paint, fleet  %8.0f MB = %.2f x the files' %.0f MB (goal <= 1.2); peak "
      "%.0f MB\n",
      median(rss) / 1e6, median(rss) / bytes, bytes / 1e6, median(peak) / 1e6);
  std::printf("  resident at first paint, empty  %8.0f MB\n", median(emptyRss) / 1e6);
}

// ---- exit, close and write-alone -------------------------------------------------------------

void measureExit(const fs::path& work, const fs::path& self, const fs::path& fleet, int runs) {
  const fs::path copy = work / "exit" / "Data";
  fs::remove_all(work / "exit");
  copyFolder(fleet, copy);
  std::vector<double> clickToEnd, clickToPaint, closeSeconds, inProgramSeconds;
  std::vector<std::vector<double>> aloneSeconds(std::size(kWriteWays));
  double written = 0;
  for (int i = 0; i < runs; ++i) {
    {
      Child child({self.string(), "--child=exit", copy.parent_path().string()}, {});
      child.readUntil("end-of-output");
      const int64_t ended = child.wait();
      if (!child.exitedCleanly()) throw std::runtime_error("the Exit run did not end cleanly");
      clickToEnd.push_back(double(ended - child.at("click")) / 1e9);
      clickToPaint.push_back(double(child.at("closing-paint") - child.at("click")) / 1e9);
    }
    const std::vector<std::vector<char>> contents = readAll(copy);
    written = 0;
    for (const auto& file : contents) written += double(file.size());
    // A child that opens the tables as the program does, then times one step and stamps it.
    const auto timeInProgram = [&](const char* mode, const char* key, std::vector<double>& into) {
      Child child({self.string(), std::string("--child=") + mode, copy.parent_path().string()}, {});
      child.readUntil("end-of-output");
      child.wait();
      if (!child.exitedCleanly())
        throw std::runtime_error(std::string("the ") + mode + " run did not end cleanly");
      into.push_back(double(child.at(key)) / 1e9);
    };
    const auto closeTables = [&] {
      timeInProgram("close", "close-total", closeSeconds);
      timeInProgram("write-alone", "write-alone-total", inProgramSeconds);
    };
    const auto writeAloneEveryWay = [&] {
      // The ways take turns at going first, so that none always follows the same writer.
      for (std::size_t step = 0; step < std::size(kWriteWays); ++step) {
        const std::size_t w = (step + std::size_t(i)) % std::size(kWriteWays);
        settleMemory();
        aloneSeconds[w].push_back(writeAlone(copy, contents, kWriteWays[w]));
      }
    };
    // The disk may be slower right after a large write: the order alternates between runs, so
    // neither side always writes second.
    if (i % 2 == 0) {
      closeTables();
      writeAloneEveryWay();
    } else {
      writeAloneEveryWay();
      closeTables();
    }
  }
  // The baseline is the fastest way of writing alone.
  const double closeRate = written / median(closeSeconds);
  double bestRate = 0;
  for (const std::vector<double>& seconds : aloneSeconds)
    bestRate = std::max(bestRate, written / median(seconds));
  std::printf(
      "exit: one change in each table, %.0f MB written; median of %d runs, load average %s\n",
      written / 1e6, runs, loadAverage().c_str());
  std::printf("  Exit click to process end                 %8.3f s\n", median(clickToEnd));
  std::printf("  Exit click to closing window paint begins %8.3f s (goal <= 0.1)\n",
              median(clickToPaint));
  std::printf("  the five table closes                     %8.3f s (%.0f MB/s)\n",
              median(closeSeconds), closeRate / 1e6);
  for (std::size_t w = 0; w < std::size(kWriteWays); ++w)
    std::printf("  write-alone, %-40s %8.3f s (%.0f MB/s)\n", kWriteWays[w].label,
                median(aloneSeconds[w]), written / median(aloneSeconds[w]) / 1e6);
  std::printf("  table close rate = %.0f %% of the fastest write-alone rate (goal >= 85 %%)\n",
              100 * closeRate / bestRate);
  std::printf(
      "  write-alone inside a program holding the tables open, the close's 1 MB writes "
      "%8.3f s (%.0f MB/s)\n",
      median(inProgramSeconds), written / median(inProgramSeconds) / 1e6);
  std::printf("  table close rate = %.0f %% of that in-program write-alone rate\n",
              100 * median(inProgramSeconds) / median(closeSeconds));
  std::printf("  first write to fresh memory, after the same pause %8.2f s/GB\n",
              freshMemorySecondsPerGb());
  fs::remove_all(work / "exit");
}

// ---- report ----------------------------------------------------------------------------------

void measureReport(const fs::path& work, const fs::path& self, const fs::path& fleet, int runs) {
  // The report only reads, so the fleet folder itself is used, through a link named Data.
  const fs::path root = work / "report";
  fs::remove_all(root);
  fs::create_directories(root);
  fs::create_directory_symlink(fleet, root / "Data");
  std::vector<double> first, last;
  int64_t pages = 0;
  for (int i = 0; i < runs; ++i) {
    Child child({self.string(), "--child=report", root.string()}, {});
    child.readUntil("end-of-output");
    child.wait();
    if (!child.exitedCleanly()) throw std::runtime_error("the report run did not end cleanly");
    first.push_back(double(child.at("first-page") - child.at("click")) / 1e9);
    last.push_back(double(child.at("last-page") - child.at("click")) / 1e9);
    pages = child.at("pages");
  }
  fs::remove_all(root);
  std::printf("report: services of vehicle 1, %lld pages; median of %d runs, load average %s\n",
              static_cast<long long>(pages), runs, loadAverage().c_str());
  std::printf("  click to first page on screen             %8.3f s (goal < 0.1)\n", median(first));
  std::printf("  click to last page on screen              %8.3f s (goal < 1)\n", median(last));
}

// ---- the child: the program's windows in this process ----------------------------------------

// Calls `then` once the next paint in the window (or any of its widgets) has been flushed.
class PaintWatch : public QObject {
 public:
  PaintWatch(QWidget* window, std::function<void()> then)
      : window_(window), then_(std::move(then)) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Paint && widget != nullptr && widget->window() == window_) {
      QCoreApplication::instance()->removeEventFilter(this);
      QTimer::singleShot(0, this, then_);
    }
    return false;
  }

 private:
  QWidget* window_;
  std::function<void()> then_;
};

class ClosingPaintStamp : public QObject {
 public:
  explicit ClosingPaintStamp(QWidget* window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Paint && widget != nullptr && widget->window() == window_) {
      QCoreApplication::instance()->removeEventFilter(this);
      stamp("closing-paint", monotonicNs());
    }
    return false;
  }

 private:
  QWidget* window_;
};

void waitForFirstPaint(QWidget& window) {
  bool painted = false;
  PaintWatch watch(&window, [&painted] { painted = true; });
  const int64_t deadline = monotonicNs() + 30'000'000'000LL;
  while (!painted && monotonicNs() < deadline)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Edits one record of the table in view, or adds one to an empty table.
void changeOneRecord(wf::TClientTable& table, const char* field, const std::string& text) {
  if (table.isEmpty())
    table.insert();
  else
    table.edit();
  table.fieldByName(field).setAsString(text);
  table.post();
}

void changeEachTable() {
  wf::TDataModule1& data = *wf::DataModule1;
  data.tblVehicle.first();
  data.tblService.first();
  const std::string mark = "Bench " + std::to_string(monotonicNs() % 100000);
  changeOneRecord(data.tblVehicle, "VehicleReg", mark.substr(0, 15));
  changeOneRecord(data.tblService, "ServiceTechName", mark);
  changeOneRecord(data.tblServiceLine, "ServiceLineProduct", mark);
  changeOneRecord(data.tblServiceInvoice, "ServiceInvoiceDescription", mark);
  changeOneRecord(data.tblExpenses, "ExpenseDescription", mark);
}

void runExitChild() {
  changeEachTable();
  settleMemory();
  // The closing window paints and then writes without returning to the event loop, so its
  // paint is stamped as it begins rather than after the flush.
  ClosingPaintStamp closingPaint(wf::frmClosing);
  QTimer::singleShot(0, [] {
    stamp("click", monotonicNs());
    wf::frmMain->btnExit->Click();
  });
  QApplication::exec();
}

void runCloseChild() {
  changeEachTable();
  settleMemory();
  wf::TDataModule1& data = *wf::DataModule1;
  int64_t total = 0;
  for (const wf::TableFile& file : data.tablesInClosingOrder()) {
    const int64_t start = monotonicNs();
    file.table->close();
    const int64_t took = monotonicNs() - start;
    stamp(("close-" + std::string(file.relativeFileName)).c_str(), took);
    total += took;
  }
  stamp("close-total", total);
}

void runReportChild() {
  wf::DataModule1->tblVehicle.first();
  bool firstSeen = false;
  bool lastAsked = false;
  QTimer poll;
  // Looks at the preview between events, as often as the event loop lets it: the first page
  // shown, then (once the report is finished) the last page asked for and shown.
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* preview = qobject_cast<wf::TRepStandardPreview*>(window);
      if (preview == nullptr || !preview->isVisible()) continue;
      QWidget* view = preview->RepPreview->viewport();
      if (!firstSeen && preview->RepPreview->shownPage() == 1) {
        firstSeen = true;
        view->repaint();  // already painted or about to be: this paints it now at the latest
        stamp("first-page", monotonicNs());
      }
      if (firstSeen && !lastAsked &&
          preview->sink().status() == wf::TRepPrinter::Status::Finished) {
        lastAsked = true;
        preview->LastPageClick();
        view->repaint();
        stamp("last-page", monotonicNs());
        stamp("pages", preview->sink().PageCount());
        preview->ExitClick();
      }
    }
  });
  poll.start(1);
  stamp("click", monotonicNs());
  wf::frmMain->LaunchServiceReport();
}

// Writes the table files' bytes alone, the way the table close writes them, from a program that
// holds the same tables open: the close's baseline in the same process and memory state.
void runWriteAloneChild(const fs::path& folder) {
  changeEachTable();
  const std::vector<std::vector<char>> contents = readAll(folder);
  settleMemory();
  stamp("write-alone-total", int64_t(writeAlone(folder, contents, kClosesWriteWay) * 1e9));
}

int runChild(const std::string& mode, const std::string& folder, int argc, char** argv) {
  wf::WfApplication app(argc, argv);
  wf::Collation::setDefaultLocale(QLocale::system().name().toStdString());
  {
    wf::AppInstances instances(folder + "/");
    QObject::connect(wf::frmMain, &wf::TfrmMain::terminateRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    wf::frmMain->centreOver(nullptr);
    wf::frmMain->show();
    waitForFirstPaint(*wf::frmMain);
    if (mode == "exit")
      runExitChild();
    else if (mode == "close")
      runCloseChild();
    else if (mode == "write-alone")
      runWriteAloneChild(fs::path(folder) / "Data");
    else if (mode == "report")
      runReportChild();
    else
      throw std::runtime_error("unknown child mode " + mode);
  }
  stamp("end-of-output", 0);
  return 0;
}

// ---- main ------------------------------------------------------------------------------------

std::set<std::string> splitList(const std::string& text) {
  std::set<std::string> items;
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) items.insert(item);
  return items;
}

int usage(const char* self) {
  std::fprintf(stderr,
               "usage: %s [--runs=N] [--settle=SECONDS] [--only=startup,memory,exit,report] "
               "PROGRAM FLEET_FOLDER [MORE_FOLDERS...]\n",
               self);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string childFlag = "--child=";
    if (argc >= 3 && std::string(argv[1]).rfind(childFlag, 0) == 0)
      return runChild(std::string(argv[1]).substr(childFlag.size()), argv[2], argc, argv);

    int runs = 5;
    std::set<std::string> parts = {"startup", "memory", "exit", "report"};
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
      const std::string arg = argv[i];
      if (arg.rfind("--runs=", 0) == 0)
        runs = std::max(1, std::atoi(arg.c_str() + 7));
      else if (arg.rfind("--settle=", 0) == 0)
        setenv(kSettleVariable, arg.c_str() + 9, 1);
      else if (arg.rfind("--only=", 0) == 0)
        parts = splitList(arg.substr(7));
      else if (arg.rfind("--", 0) == 0)
        return usage(argv[0]);
      else
        positional.push_back(arg);
    }
    if (positional.size() < 2) return usage(argv[0]);
    const fs::path program = fs::absolute(positional[0]);
    std::vector<fs::path> folders;
    for (std::size_t i = 1; i < positional.size(); ++i) {
      folders.push_back(fs::absolute(positional[i]));
      if (folderBytes(folders.back()) == 0)
        throw std::runtime_error("no table files in " + folders.back().string());
    }
    const fs::path& fleet = folders.front();
    const fs::path self = fs::canonical("/proc/self/exe");
    const fs::path work =
        fs::temp_directory_path() / ("wrenfold_program_bench_" + std::to_string(getpid()));
    fs::create_directories(work);
    try {
      for (const fs::path& folder : folders)
        if (parts.count("startup")) measureStartup(work, program, folder, runs);
      for (const fs::path& folder : folders)
        if (parts.count("memory")) measureMemory(work, program, folder, runs);
      if (parts.count("exit")) measureExit(work, self, fleet, runs);
      if (parts.count("report")) measureReport(work, self, fleet, runs);
    } catch (...) {
      fs::remove_all(work);
      throw;
    }
    fs::remove_all(work);
    return 0;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
    return 1;
  }
}
