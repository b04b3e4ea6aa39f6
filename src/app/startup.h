#pragma once

#include <QStringList>

#include <memory>

class QApplication;

// Qt's own options (-platform offscreen, -style fusion, -reverse, …) taken out of the
// arguments, so that only the console's options are left to check. QApplication reads
// the originals.
QStringList withoutQtOptions(const QStringList &arguments);

// The options QApplication understands, for --help-all.
QString qtOptionsHelp();

// Where a console keeps conf.cfg and finds its pictures. A program folder holds img/ beside
// the executable and keeps conf.cfg there too; an installed console (<prefix>/bin, with the
// pictures in <prefix>/share/orvane/img) keeps conf.cfg per user, in the data folder.
struct ProgramFolders
{
    QString settings; // empty: the data folder only
    QStringList pictures;
};
ProgramFolders programFoldersOf(const QString &executableDir);

// XDG folders must be absolute; a relative one would put the user's files under whatever
// folder the console was started in, so it is ignored, as the XDG rules say.
void ignoreRelativeXdgFolders();

// The application object with its display. Where no display can be opened, the program
// ends here with status 1 and one line on standard error, not with Qt's abort.
std::unique_ptr<QApplication> openDisplay(int &argc, char **argv, const char *program = "orvane");
