#include "settings/file_sync.h"

#include <functional>
#include <iterator>

namespace {
// An editor or a sync client finishes a save within a second or two; a scanner
// lets go of a file it checks within a few.
constexpr unsigned kSettleDelaysMs[] = {250, 500, 1000, 2000, 4000};
constexpr unsigned kLockedRetryMs = 30000;

std::size_t HashOf(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }
}  // namespace

SettleStep NextSettleStep(FileProblem problem, unsigned attempt) {
    if (attempt < std::size(kSettleDelaysMs)) return {false, kSettleDelaysMs[attempt]};
    return {true, problem == FileProblem::kUnreadable ? kLockedRetryMs : 0};
}

std::string ProblemNotice(FileProblem problem, const std::string& path, int line, int column) {
    if (problem != FileProblem::kBroken)
        return "Brisq could not open " + path +
               ": another program holds it, or you may not read it.\n\nBrisq goes on without what it holds, never "
               "writes over it, and reads it as soon as it can.";
    std::string text = "Brisq could not read " + path + ": it is not a well-formed XML file";
    if (line > 0) {
        text += " (the mistake is at line ";
        text += std::to_string(line);
        text += ", column ";
        text += std::to_string(column);
        text += ")";
    }
    text += ".\n\nBrisq goes on with what it had and leaves the file as it is. Correct the file and save it again: "
            "Brisq reads it then.";
    return text;
}

void FileSync::Seen(std::string_view bytes) {
    sight_ = Sight::kBytes;
    seenHash_ = HashOf(bytes);
}

// Takes in what the file holds when it is new to us and whole.
FileSync::Found FileSync::Take(FileRead read, const std::string& bytes, SyncedRecord& record, bool* changed) {
    if (read == FileRead::kUnreadable) return Found::kUnreadable;
    if (read == FileRead::kMissing) return sight_ == Sight::kMissing ? Found::kSame : Found::kMissing;
    if (sight_ == Sight::kBytes && HashOf(bytes) == seenHash_) return Found::kSame;  // Brisq's own save, too
    ParseReport report = record.Read(bytes);
    if (!report.loaded) {
        failedLine_ = report.line;
        failedColumn_ = report.column;
        return Found::kBroken;
    }
    bool recordChanged = record.Take();
    if (changed) *changed = recordChanged;
    Seen(bytes);
    keepBeforeReplace_ = !report.lossless;
    mustWrite_ = false;
    attempt_ = 0;
    retryAfterMs_ = 0;
    told_ = false;
    return Found::kTaken;
}

bool FileSync::Load(const SettingsDisk& disk, SyncedRecord& record) {
    *this = FileSync(name_);
    record.InSync();
    std::string bytes;
    FileRead read = disk.Read(name_, bytes);
    switch (Take(read, bytes, record)) {
    case Found::kTaken: return true;
    case Found::kMissing:
        sight_ = Sight::kMissing;
        mustWrite_ = true;
        break;
    case Found::kUnreadable:  // never written over; read again in the background
        retryAfterMs_ = NextSettleStep(FileProblem::kUnreadable, attempt_++).retryAfterMs;
        break;
    default:  // broken (or empty) from the start: kept aside, without a word, by the first save
        mustWrite_ = true;
        keepBeforeReplace_ = !bytes.empty();
        told_ = true;
        break;
    }
    return false;
}

FileCheck FileSync::Reload(SettingsDisk& disk, SyncedRecord& record) {
    FileCheck check;
    std::string bytes;
    FileRead read = disk.Read(name_, bytes);
    Found found = Take(read, bytes, record, &check.changed);
    if (found == Found::kSame) {
        attempt_ = 0;
        retryAfterMs_ = 0;
        return check;
    }
    if (found == Found::kTaken) {
        if (Unsaved(record)) Save(disk, record, SaveKind::kUnsaved);  // what could not be written before
        return check;
    }
    FileProblem problem = found == Found::kMissing      ? FileProblem::kMissing
                          : found == Found::kUnreadable ? FileProblem::kUnreadable
                                                        : FileProblem::kBroken;
    SettleStep step = NextSettleStep(problem, attempt_++);
    retryAfterMs_ = check.retryAfterMs = step.retryAfterMs;
    if (!step.settled) return check;
    if (problem == FileProblem::kMissing) {  // removed by hand: not to be made again behind the user's back
        sight_ = Sight::kMissing;
        return check;
    }
    if (problem == FileProblem::kBroken) {  // left as it is, and not read again until it changes
        Seen(bytes);
        keepBeforeReplace_ = !bytes.empty();
    }
    if (!told_) check.notice = ProblemNotice(problem, disk.PathOf(name_), failedLine_, failedColumn_);
    told_ = true;
    return check;
}

void FileSync::Save(SettingsDisk& disk, SyncedRecord& record, SaveKind kind) {
    const bool removed = sight_ == Sight::kMissing && !mustWrite_;
    if (removed && kind != SaveKind::kFromSettings) return;  // not made again behind the user's back
    if (!removed && !Unsaved(record)) {
        record.InSync();  // a change undone, or a list refilled as it was: no copy to keep
        return;
    }
    std::string bytes;
    FileRead read = disk.Read(name_, bytes);
    Found found = Take(read, bytes, record);
    if (found == Found::kUnreadable) return;  // never written over
    if (found == Found::kMissing && sight_ == Sight::kBytes && kind != SaveKind::kFromSettings) {
        sight_ = Sight::kMissing;  // removed by hand since it was last read
        return;
    }
    if (found == Found::kBroken) keepBeforeReplace_ = !bytes.empty();
    if (disk.IsReadOnly(name_)) return;  // the user's wish: neither replaced nor set aside
    std::string text = record.Print();
    if (read != FileRead::kRead || text != bytes) {  // unless the file holds it already
        if (read == FileRead::kRead && keepBeforeReplace_) {
            if (!disk.SetAside(name_)) return;  // never replace what could not be kept
            keepBeforeReplace_ = false;
            sight_ = Sight::kNothing;  // gone by Brisq's own hand
        }
        if (!disk.Replace(name_, text)) return;
    }
    record.InSync();
    Seen(text);
    mustWrite_ = false;
    keepBeforeReplace_ = false;
    attempt_ = 0;
    retryAfterMs_ = 0;
    told_ = false;
}
