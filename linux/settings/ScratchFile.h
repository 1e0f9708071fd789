#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

namespace korval {

// A file of a save's own in the settings folder, for QSettings to write into
// or to read back, removed when done with. Any failure raises the
// file-access run-time error.
class ScratchFile {
public:
    explicit ScratchFile(const QString& folder);

    QString path() const { return file_.fileName(); }
    void write(const QByteArray& bytes) const;
    QByteArray contents() const;

private:
    QTemporaryFile file_;
};

} // namespace korval
