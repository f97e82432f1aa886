#pragma once
// What Brisq knows of one of its files on disk. It writes only what it changed,
// merged into what the file holds by then; it takes in what others write, and
// waits for a save in progress to end before it calls a file missing, locked or
// broken. No file access here: the Win32 side reads and writes for it.
#include <string>
#include <string_view>

#include "framework/files.h"

// The two files as the program reaches them: beside the executable on Windows,
// in memory in tests.
class SettingsDisk {
public:
    virtual ~SettingsDisk() = default;
    virtual FileRead Read(const char* name, std::string& bytes) const = 0;
    virtual bool IsReadOnly(const char* name) const = 0;
    // Renamed out of the way (name.bad, name.bad2, ...); true once it is.
    virtual bool SetAside(const char* name) = 0;
    // In one step: false leaves the old file as it was.
    virtual bool Replace(const char* name, std::string_view bytes) = 0;
    // Where the user finds the file.
    virtual std::string PathOf(const char* name) const = 0;
};

// The exit and a reload write only what is unsaved; OK in Settings also writes
// a file the user removed by hand.
enum class SaveKind { kUnsaved, kFromSettings };

enum class FileProblem { kMissing, kUnreadable, kBroken };

// After |attempt| reads that found the problem: read again after a while, or
// stop taking it for a save in progress. A locked file is still read now and
// then: a reader that lets go of it changes nothing that would be noticed.
struct SettleStep {
    bool settled;
    unsigned retryAfterMs;  // 0: not before the file changes
};
SettleStep NextSettleStep(FileProblem problem, unsigned attempt);

// Plain words for a file that stays broken (line and column where the reading
// stopped, 0 when unknown) or that cannot be opened.
std::string ProblemNotice(FileProblem problem, const std::string& path, int line, int column);

struct ParseReport {
    bool loaded = false;   // well-formed, with a root
    bool lossless = true;  // every text has a form in the program's code page
    int line = 0, column = 0;  // where a broken file stopped reading; 0 when unknown
};

// One file's record, as FileSync handles it: the record in memory and the copy
// of what the file held when last read or written whole, the merges' base.
class SyncedRecord {
public:
    virtual ~SyncedRecord() = default;
    // Reads the file's bytes into a record of its own.
    virtual ParseReport Read(std::string_view bytes) = 0;
    // What Read gave is what the file holds now; the record in memory takes it
    // in, merged with the changes Brisq has not saved. True when it changed.
    virtual bool Take() = 0;
    virtual std::string Print() const = 0;
    // The record in memory is not what the file held.
    virtual bool Changed() const = 0;
    // The record in memory is what the file holds.
    virtual void InSync() = 0;
};

// What a reload did.
struct FileCheck {
    bool changed = false;       // the record in memory took in the file's changes
    unsigned retryAfterMs = 0;  // read again then; 0: not before the file changes
    std::string notice;         // for the user, once per problem
};

class FileSync {
public:
    explicit FileSync(const char* name) : name_(name) {}

    // At start: the record from the file, or as it is when the file is missing
    // or cannot be read. False when the file was not read.
    bool Load(const SettingsDisk& disk, SyncedRecord& record);
    // The file may have changed: what others wrote is merged into the record.
    // Unsaved changes of Brisq's are then written. Missing, locked and broken
    // files are read again until they settle; meanwhile the record stays.
    FileCheck Reload(SettingsDisk& disk, SyncedRecord& record);
    // Writes the record, merged into what the file holds now, when Brisq changed
    // it. A file read-only or locked is not written; a broken or lossy one is
    // set aside first; one removed by hand comes back only from Settings.
    void Save(SettingsDisk& disk, SyncedRecord& record, SaveKind kind);

    bool Unsaved(const SyncedRecord& record) const { return mustWrite_ || record.Changed(); }
    // When the file wants reading again; 0 when it does not.
    unsigned RetryAfterMs() const { return retryAfterMs_; }

private:
    enum class Found { kSame, kTaken, kMissing, kUnreadable, kBroken };
    Found Take(FileRead read, const std::string& bytes, SyncedRecord& record, bool* changed = nullptr);
    void Seen(std::string_view bytes);

    const char* name_;
    // The file as last seen: not yet, missing, or bytes with this hash (read
    // whole, written, or found broken for good).
    enum class Sight { kNothing, kMissing, kBytes } sight_ = Sight::kNothing;
    std::size_t seenHash_ = 0;
    bool mustWrite_ = false;          // missing, empty or broken at start: the first save writes it
    bool keepBeforeReplace_ = false;  // it holds what was not read whole: set it aside before replacing it
    unsigned attempt_ = 0;            // reads that found the current problem
    unsigned retryAfterMs_ = 0;
    bool told_ = false;               // the current problem was reported (or needs no report)
    int failedLine_ = 0, failedColumn_ = 0;
};
