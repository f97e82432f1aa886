#include "settings/file_sync.h"

#include <functional>
#include <iterator>

#include "settings/alias_table.h"
#include "settings/app_settings.h"

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
    std::string text;
    if (problem == FileProblem::kBroken) {
        text = "Brisq could not read " + path + ": it is not a well-formed XML file";
        if (line > 0) text += " (the mistake is at line " + std::to_string(line) + ", column " + std::to_string(column) + ")";
        text += ".\n\nBrisq goes on with what it had and leaves the file as it is. Correct the file and save it "
                "again: Brisq reads it then.";
    } else {
        text = "Brisq could not open " + path +
               ": another program holds it, or you may not read it.\n\nBrisq goes on without what it holds, never "
               "writes over it, and reads it as soon as it can.";
    }
    return text;
}

template <class Record>
void FileSync<Record>::Seen(std::string_view bytes) {
    sight_ = Sight::kBytes;
    seenHash_ = HashOf(bytes);
}

template <class Record>
void FileSync<Record>::InSync(const Record& memory) {
    if (copyKept_) saved_ = memory;
    else saved_.reset();
}

// Takes in what the file holds when it is new to us and whole.
template <class Record>
typename FileSync<Record>::Found FileSync<Record>::Take(FileRead read, const std::string& bytes,
                                                        const RecordCodec<Record>& codec, Record& memory,
                                                        bool* changed) {
    if (read == FileRead::kUnreadable) return Found::kUnreadable;
    if (read == FileRead::kMissing) return sight_ == Sight::kMissing ? Found::kSame : Found::kMissing;
    if (sight_ == Sight::kBytes && HashOf(bytes) == seenHash_) return Found::kSame;  // Brisq's own save, too
    Record disk;
    ParseReport report = codec.Parse(bytes, Saved(memory), disk);
    if (!report.loaded) {
        failedLine_ = report.line;
        failedColumn_ = report.column;
        return Found::kBroken;
    }
    if (saved_ && !(memory == *saved_)) {  // Brisq's own changes stay, merged into the file's
        Record merged = codec.Merge(*saved_, memory, disk);
        if (changed) *changed = !(merged == memory);
        memory = std::move(merged);
        saved_ = std::move(disk);
    } else {
        if (changed) *changed = !(disk == memory);
        memory = std::move(disk);
        InSync(memory);
    }
    Seen(bytes);
    keepBeforeReplace_ = !report.lossless;
    mustWrite_ = false;
    attempt_ = 0;
    retryAfterMs_ = 0;
    told_ = false;
    return Found::kTaken;
}

template <class Record>
bool FileSync<Record>::Load(const SettingsDisk& disk, const RecordCodec<Record>& codec, Record& memory) {
    *this = FileSync(name_, copyKept_);
    InSync(memory);
    std::string bytes;
    FileRead read = disk.Read(name_, bytes);
    switch (Take(read, bytes, codec, memory)) {
    case Found::kTaken: return true;
    case Found::kMissing:
        sight_ = Sight::kMissing;
        mustWrite_ = true;
        break;
    case Found::kUnreadable:  // never written over; read again in the background
        retryAfterMs_ = NextSettleStep(FileProblem::kUnreadable, attempt_++).retryAfterMs;
        break;
    default:  // broken from the start: kept aside, without a word, by the first save
        mustWrite_ = true;
        keepBeforeReplace_ = !bytes.empty();
        told_ = true;
        break;
    }
    return false;
}

template <class Record>
FileCheck FileSync<Record>::Reload(SettingsDisk& disk, const RecordCodec<Record>& codec, Record& memory) {
    FileCheck check;
    std::string bytes;
    FileRead read = disk.Read(name_, bytes);
    Found found = Take(read, bytes, codec, memory, &check.changed);
    if (found == Found::kSame) {
        attempt_ = 0;
        retryAfterMs_ = 0;
        return check;
    }
    if (found == Found::kTaken) {
        if (Unsaved(memory)) Save(disk, codec, memory, SaveKind::kUnsaved);  // what could not be written before
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

template <class Record>
void FileSync<Record>::Save(SettingsDisk& disk, const RecordCodec<Record>& codec, Record& memory, SaveKind kind) {
    const bool removed = sight_ == Sight::kMissing && !mustWrite_;
    if (removed ? kind != SaveKind::kFromSettings : !Unsaved(memory)) return;
    std::string bytes;
    FileRead read = disk.Read(name_, bytes);
    Found found = Take(read, bytes, codec, memory);
    if (found == Found::kUnreadable) return;  // never written over
    if (found == Found::kMissing && sight_ == Sight::kBytes && kind != SaveKind::kFromSettings) {
        sight_ = Sight::kMissing;  // removed by hand since it was last read
        return;
    }
    if (found == Found::kBroken) keepBeforeReplace_ = !bytes.empty();
    if (disk.IsReadOnly(name_)) return;  // the user's wish: neither replaced nor set aside
    std::string text = codec.Print(memory);
    if (read == FileRead::kRead && text != bytes) {
        if (keepBeforeReplace_) {
            if (!disk.SetAside(name_)) return;  // never replace what could not be kept
            keepBeforeReplace_ = false;
            sight_ = Sight::kNothing;  // gone by Brisq's own hand
        }
    }
    if ((read != FileRead::kRead || text != bytes) && !disk.Replace(name_, text)) return;
    InSync(memory);
    Seen(text);
    mustWrite_ = false;
    keepBeforeReplace_ = false;
    attempt_ = 0;
    retryAfterMs_ = 0;
    told_ = false;
}

template class FileSync<std::vector<AliasEntry>>;
template class FileSync<SettingsOptions>;
