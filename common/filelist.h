#pragma once

#include <QString>
#include <QStringList>

// A hidden file list: the names of the ordinary files of one folder matching one pattern, sorted by name,
// re-read on demand.
class FileList
{
public:
    void setPath(const QString& folder) { m_paths = { folder }; }
    // Several folders listed as one; a name found in more than one is listed once.
    void setPaths(const QStringList& folders) { m_paths = folders; }
    void setPattern(const QString& pattern) { m_pattern = pattern; }
    QString path() const { return m_paths.value(0); }
    const QString& pattern() const { return m_pattern; }
    void refresh();
    int listCount() const { return static_cast<int>(m_names.size()); }
    QString list(int i) const { return i >= 0 && i < m_names.size() ? m_names[i] : QString(); }
    const QStringList& names() const { return m_names; }

private:
    QStringList m_paths;
    QString m_pattern;
    QStringList m_names;
};
