#pragma once

// Files and folders written for good: each one synced before it counts,
// and a whole folder put in the place of another in one step, so that a
// process killed at any instant leaves the one folder or the other.

#include <QByteArray>
#include <QString>

#include <functional>

namespace platform {

// Which file a path names, and whether it changed since: a file written
// again, replaced or touched gets another stamp.
struct FileStamp
{
    qint64 size = -1;   // -1: no such file
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;

    bool exists() const { return size >= 0; }
    bool operator==(const FileStamp& other) const
    {
        return size == other.size && modifiedNs == other.modifiedNs && inode == other.inode && device == other.device;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The stamp of the regular file at `path` (not following a link), or one
// that does not exist.
FileStamp fileStamp(const QString& path);

// Creates `path`, which must not exist yet, with `bytes` and syncs it.
// `error` says why not.
bool writeNewFile(const QString& path, const QByteArray& bytes, QString* error);

enum class CopyResult {
    Copied,
    SourceChanged,   // `from` is gone or no longer carries its stamp; nothing was created
    Failed,          // `to` could not be written (it may be left half written)
};

// Copies `from` into the new file `to` and syncs it, when `from` still
// carries `stamp` as it is opened.
CopyResult copyToNewFile(const QString& from, const FileStamp& stamp, const QString& to, QString* error);

// Syncs a folder, so that the names created or changed in it last.
bool syncFolder(const QString& path, QString* error);

// `parent`/`prefix` followed by six random letters and digits, a name
// that nothing in `parent` has yet.
QString freshName(const QString& parent, const QString& prefix);

// Makes a folder under such a name, with the permissions `like` has when
// it is a folder (else the usual ones); its path, or an empty text.
QString makeFreshFolder(const QString& parent, const QString& prefix, const QString& like, QString* error);

// Links every entry of the folder `from` into the folder `to`, folders
// made anew and filled the same way, except the names `leaveOut` accepts
// (those at the top only). Files that cannot be linked are copied. Fails
// on a folder that lies on another file system (a mount point).
bool linkContents(const QString& from, const QString& to, const std::function<bool(const QString&)>& leaveOut,
                  QString* error);

// How `staged` came to stand where `target` was.
enum class Swap {
    Exchanged,   // in one step; the earlier folder now stands at `staged`
    Parked,      // the file system cannot exchange: the earlier folder was moved to `parked` first
    Moved,       // nothing stood at `target`
    Failed,      // nothing changed
};

// Puts the folder `staged` in the place of `target`, both in one folder:
// exchanged with it in one step where `target` exists, moved there where
// not; then syncs that folder (a failing sync only sets `error`).
// `parked` is a fresh name for the earlier folder, used only where the
// file system cannot exchange two names: there a process killed between
// the two moves leaves neither folder at `target`.
Swap putInPlace(const QString& staged, const QString& target, const QString& parked, QString* error);

} // namespace platform
