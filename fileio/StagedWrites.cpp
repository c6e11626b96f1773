// Staged writes and their commit. Before the first target is placed each file about to be replaced
// gets a second name (a hard link named as a temporary of ours, so a killed run's links are swept
// like any temporary), and putting one back is a rename of that link over the target. A file the
// system will not link (a file system without hard links) cannot be put back: such targets are
// placed last, after every one that can, so that only a failure among them leaves one replaced.
#include "fileio/StagedWrites.h"

#include "fileio/Faults.h"
#include "fileio/FileError.h"
#include "fileio/Posix.h"
#include "fileio/Temporary.h"

#include <algorithm>
#include <cerrno>
#include <set>
#include <stdexcept>
#include <unistd.h>

#include <sys/stat.h>

namespace fileio {
namespace {

using detail::unlessInjected;
using test_hooks::Step;

thread_local StagedWrites* t_current = nullptr;

}  // namespace

struct StagedWrites::Held {
    std::string requested;
    std::string target;
    std::unique_ptr<detail::TemporaryFile> file;
    WriteOptions options;
    bool replacesAFile = false;
    std::string secondName;  // the replaced file's other name while the commit runs

    void dropSecondName()
    {
        if (secondName.empty())
            return;
        unlessInjected(Step::Unlink, [&] { return ::unlink(secondName.c_str()); });
        detail::releaseName(secondName);
        secondName.clear();
    }
};

StagedWrites::StagedWrites()
{
    if (t_current != nullptr)
        throw std::logic_error("staged writes do not nest");
    t_current = this;
}

StagedWrites::~StagedWrites()
{
    if (t_current == this)
        t_current = nullptr;
    for (const auto& entry : held_)
        entry->dropSecondName();
}

StagedWrites* StagedWrites::current() { return t_current; }

void StagedWrites::hold(const std::string& requested, const std::string& target, std::unique_ptr<detail::TemporaryFile> file,
                        const WriteOptions& options)
{
    std::erase_if(held_, [&](const auto& entry) { return entry->target == target; });
    auto entry = std::make_unique<Held>();
    entry->requested = requested;
    entry->target = target;
    entry->file = std::move(file);
    entry->options = options;
    held_.push_back(std::move(entry));
}

std::string StagedWrites::readablePath(const std::string& path) const
{
    for (const auto& entry : held_)
        if (entry->requested == path || entry->target == path)
            return entry->file->readablePath();
    throw FileError(FileError::Operation::Read, path, "it has not been written");
}

void StagedWrites::commit()
{
    if (t_current == this)
        t_current = nullptr;
    try {
        placeAll();
    } catch (...) {
        for (const auto& entry : held_)
            entry->dropSecondName();
        held_.clear();
        throw;
    }
    std::set<std::string> folders;
    for (const auto& entry : held_) {
        entry->dropSecondName();
        if (entry->options.durable)
            folders.insert(detail::folderOf(entry->target));
    }
    for (const std::string& folder : folders)
        detail::syncFolder(folder);
    held_.clear();
}

void StagedWrites::placeAll()
{
    for (const auto& entry : held_) {
        struct stat info {};
        entry->replacesAFile = ::lstat(entry->target.c_str(), &info) == 0;
        if (!entry->replacesAFile || !entry->options.replaceExisting || !S_ISREG(info.st_mode))
            continue;
        for (int attempt = 0; entry->secondName.empty() && attempt < 100; ++attempt) {
            const std::string name = detail::temporaryName(detail::folderOf(entry->target));
            detail::holdName(name);
            if (unlessInjected(Step::Link, [&] { return ::link(entry->target.c_str(), name.c_str()); }) == 0) {
                entry->secondName = name;
            } else {
                const int error = errno;
                detail::releaseName(name);
                if (error != EEXIST)
                    break;
            }
        }
    }
    std::stable_partition(held_.begin(), held_.end(),
                          [](const auto& entry) { return !entry->replacesAFile || !entry->secondName.empty(); });

    std::vector<Held*> placed;
    for (const auto& entry : held_) {
        try {
            entry->file->commit(entry->target, entry->options.replaceExisting);
        } catch (const FileError& e) {
            putBack(placed);
            std::string reason = e.reason();
            for (const std::string& target : stillReplaced_)
                reason += "; \"" + target + "\" was already replaced and could not be put back";
            throw FileError(e.operation(), entry->requested, reason);
        }
        placed.push_back(entry.get());
    }
}

void StagedWrites::putBack(const std::vector<Held*>& placed)
{
    for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
        Held& entry = **it;
        bool restored = false;
        if (!entry.secondName.empty()) {
            restored = unlessInjected(Step::Rename, [&] { return ::rename(entry.secondName.c_str(), entry.target.c_str()); }) == 0;
            if (restored) {
                detail::releaseName(entry.secondName);
                entry.secondName.clear();
            }
        } else if (!entry.replacesAFile) {
            restored = unlessInjected(Step::Unlink, [&] { return ::unlink(entry.target.c_str()); }) == 0 || errno == ENOENT;
        }
        if (!restored)
            stillReplaced_.push_back(entry.requested);
        if (entry.options.durable)
            detail::syncFolder(detail::folderOf(entry.target));
    }
}

}  // namespace fileio
