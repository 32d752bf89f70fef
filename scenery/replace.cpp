#include "scenery/replace.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "base/error.h"
#include "base/widetext.h"
#include "scenery/filesystem.h"
#include "scenery/renumber.h"

namespace {

constexpr std::uint32_t kCopyBlockSize = 64 * 1024;
constexpr SystemError kAccessDenied = 5; // ERROR_ACCESS_DENIED
constexpr SystemError kFileExists = 80;  // ERROR_FILE_EXISTS
constexpr int kTemporaryNameTries = 100;

void Check(SystemError error) {
    if (error != 0)
        RaiseIoError(error);
}

// A handle that is closed when it goes out of scope, unless it was closed explicitly first.
class OpenFile {
public:
    explicit OpenFile(FileSystem& files) : files_(files) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { CloseQuietly(); }

    SystemError OpenForReading(const std::wstring& path) {
        return Opened(files_.OpenForReading(path, handle_));
    }
    SystemError OpenForWriting(const std::wstring& path) {
        return Opened(files_.OpenForWriting(path, handle_));
    }
    SystemError CreateNew(const std::wstring& path, bool shareRead) {
        return Opened(files_.CreateNew(path, shareRead, handle_));
    }
    SystemError Close() {
        open_ = false;
        return files_.Close(handle_);
    }
    // For the way out of a failure, where a second error would say nothing new.
    void CloseQuietly() {
        if (open_)
            Close();
    }
    FileHandle handle() const { return handle_; }

private:
    SystemError Opened(SystemError error) {
        open_ = error == 0;
        return error;
    }

    FileSystem& files_;
    FileHandle handle_ = nullptr;
    bool open_ = false;
};

// A file written under a temporary name beside its destination and put in its place in one step
// only once it is complete, so the destination is never seen half-written. Removed if it never
// gets there.
class PendingFile {
public:
    PendingFile(FileSystem& files, std::wstring destination)
        : files_(files), file_(files), destination_(std::move(destination)) {}
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        if (!created_ || placed_)
            return;
        file_.CloseQuietly();
        files_.Delete(temporary_);
    }

    // Creates the file under a name that no existing file has.
    SystemError Create(bool shareRead) {
        SystemError error = 0;
        for (int attempt = 1; attempt <= kTemporaryNameTries; ++attempt) {
            temporary_ = destination_ + L"." + std::to_wstring(attempt) + L".sceneryswitch-tmp";
            error = file_.CreateNew(temporary_, shareRead);
            if (error != kFileExists)
                break;
        }
        created_ = error == 0;
        return error;
    }

    SystemError Write(const void* data, std::uint32_t size) {
        return files_.Write(file_.handle(), data, size);
    }

    // Flushes the data to the disk and closes the file.
    SystemError Complete() {
        const SystemError error = files_.Flush(file_.handle());
        const SystemError closeError = file_.Close();
        return error != 0 ? error : closeError;
    }

    SystemError PutInPlace() {
        const SystemError error = files_.Rename(temporary_, destination_);
        placed_ = error == 0;
        return error;
    }

    FileHandle handle() const { return file_.handle(); }
    const std::wstring& destination() const { return destination_; }

private:
    FileSystem& files_;
    OpenFile file_;
    std::wstring destination_;
    std::wstring temporary_;
    bool created_ = false;
    bool placed_ = false;
};

class FileSource : public ByteSource {
public:
    FileSource(FileSystem& files, FileHandle file) : files_(files), file_(file) {}
    size_t Read(char* buffer, size_t capacity) override {
        const auto size = static_cast<std::uint32_t>(
            std::min<size_t>(capacity, std::numeric_limits<std::uint32_t>::max()));
        std::uint32_t got = 0;
        Check(files_.Read(file_, buffer, size, got));
        return got;
    }

private:
    FileSystem& files_;
    FileHandle file_;
};

class FileSink : public ByteSink {
public:
    explicit FileSink(PendingFile& file) : file_(file) {}
    void Write(const char* data, size_t size) override {
        while (size > 0) {
            const auto chunk = static_cast<std::uint32_t>(
                std::min<size_t>(size, std::numeric_limits<std::uint32_t>::max()));
            Check(file_.Write(data, chunk));
            data += chunk;
            size -= chunk;
        }
    }

private:
    PendingFile& file_;
};

// Saves `target` as `backup` (or, when `backup` is a folder, as scenery.cfg inside it) with its
// last-write time. A failure leaves any earlier backup as it was.
void BackUp(FileSystem& files, const std::wstring& target, std::wstring backup) {
    OpenFile original(files);
    if (original.OpenForReading(target) != 0)
        throw Error("Cannot open file " + ToUtf8(target));

    std::uint32_t attributes = 0;
    bool exists = files.GetAttributes(backup, attributes) == 0;
    if (exists && (attributes & kAttributeDirectory) != 0) {
        backup += L"\\scenery.cfg";
        exists = files.GetAttributes(backup, attributes) == 0;
    }
    const std::string cannotCreate = "Cannot create file " + ToUtf8(backup);
    // Windows refuses to replace a read-only file; checked here so Wine refuses it too.
    if (exists && (attributes & kAttributeReadOnly) != 0)
        throw Error(cannotCreate);

    PendingFile copy(files, backup);
    if (copy.Create(/*shareRead=*/false) != 0)
        throw Error(cannotCreate);
    const std::unique_ptr<char[]> buffer(new char[kCopyBlockSize]);
    for (;;) {
        // Only an empty read is the end: a network drive may return short blocks anywhere.
        std::uint32_t got = 0;
        if (files.Read(original.handle(), buffer.get(), kCopyBlockSize, got) != 0)
            throw Error("Stream read error");
        if (got == 0)
            break;
        if (copy.Write(buffer.get(), got) != 0)
            throw Error("Stream write error");
    }
    std::uint64_t lastWrite = 0;
    if (files.GetLastWriteTime(original.handle(), lastWrite) != 0 || original.Close() != 0)
        throw Error("Stream read error");
    if (files.SetLastWriteTime(copy.handle(), ToDosTimeResolution(lastWrite)) != 0 ||
        copy.Complete() != 0)
        throw Error("Stream write error");
    if (copy.PutInPlace() != 0)
        throw Error(cannotCreate);
}

} // namespace

ReplaceOutcome ReplaceSceneryConfiguration(FileSystem& files, const std::wstring& folder,
                                           const std::wstring& sourcePath) {
    const std::wstring target = folder + L"\\scenery.cfg";
    std::uint32_t targetAttributes = 0;
    if (files.GetAttributes(target, targetAttributes) != 0 ||
        (targetAttributes & kAttributeDirectory) != 0)
        return ReplaceOutcome::TargetMissing;

    BackUp(files, target, folder + L"\\scenery.old");

    if (sourcePath.empty())
        throw Error("No scenery library selected");
    OpenFile source(files);
    Check(source.OpenForReading(sourcePath));

    // The checks that opening scenery.cfg for writing makes: not read-only (which Wine does not
    // enforce), not locked by another program.
    if ((targetAttributes & kAttributeReadOnly) != 0)
        RaiseIoError(kAccessDenied);
    {
        OpenFile probe(files);
        Check(probe.OpenForWriting(target));
        Check(probe.Close());
    }

    PendingFile replacement(files, target);
    Check(replacement.Create(/*shareRead=*/true));
    FileSource in(files, source.handle());
    FileSink out(replacement);
    RenumberAreas(in, out);
    Check(source.Close());
    Check(replacement.Complete());
    Check(replacement.PutInPlace());
    return ReplaceOutcome::Replaced;
}

ReplaceOutcome ReplaceSceneryConfiguration(const std::wstring& folder,
                                           const std::wstring& sourcePath) {
    return ReplaceSceneryConfiguration(SystemFileSystem(), folder, sourcePath);
}
