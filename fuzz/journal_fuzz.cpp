// Feeds raw bytes to the change journal reader. What it accepts must encode back to the same
// bytes up to the end of its intact records, and what follows them must never parse as a record.
#include "store/journal_format.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  wf::JournalContents contents;
  try {
    contents = wf::decodeJournal(bytes);
  } catch (const wf::JournalError&) {
    return 0;
  }
  if (contents.validLength > size || contents.headerLength > contents.validLength) std::abort();
  std::vector<uint8_t> again = wf::encodeJournalHeader(contents.header);
  if (again.size() != contents.headerLength) std::abort();
  for (const wf::JournalRecord& record : contents.records) {
    if (record.op == wf::JournalOp::Written) {
      wf::encodeJournalWritten(again, record.written);
    } else {
      wf::encodeJournalRecord(again, record.op, record.key, record.values);
    }
    if (again.size() != record.end) std::abort();
  }
  if (!std::equal(again.begin(), again.end(), bytes.begin())) std::abort();
  if (wf::decodeJournal(bytes.first(contents.validLength)).records.size() !=
      contents.records.size())
    std::abort();
  return 0;
}
