#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's own web hosts (its scheme server and the two hosts beside it) travel with
// the program as a read-only folder of files, the bundle, and are answered from it without
// a network: the transfer control asks here directly, the browser through the bundle
// server. Every other host is left to the network.
//
// Addresses are matched ignoring case, with escapes decoded and a "/" after a file name
// ignored; a folder answers with its index page. A path the bundle lists as not bundled
// gets a short answer saying so (a one-line list at a list's address, a page elsewhere),
// marked never to be kept in a cache. The list scripts of the scheme server answer with the
// bundled list of the name asked for. Anything else is not found. Only files of the folder
// are ever read: no symbolic link, no ".." and no escape reaches outside it.
namespace platform::SchemeBundle {

struct Answer {
    int status = 404;  // 200, 404 (not found) or 405 (not a GET)
    QByteArray reason;
    QByteArray contentType;
    QByteArray body;
    bool storable = true;  // false: a not-bundled answer, never to be cached
};

// From now on these hosts are answered from the folder (replacing what was served before).
void serve(const QStringList& hosts, const QString& folder);
QStringList hosts();
QString folder();
// The bundle beside the program: "schemes" in the program's folder (a build), else
// "../share/quorvantil/schemes" (an installation); "" when there is neither.
QString installedFolder();

// One of the served hosts, in any case (a port after it ignored).
bool isOwnHost(const QString& host);

// The answer to a request of one of the served hosts: the method and the target as sent
// ("/path?query").
Answer answer(const QString& method, const QString& target);
// What an address the bundle does not hold gets.
Answer notFound();
// The same as answer() for a whole address ("http://" optional); 404 for any other host.
Answer answerForAddress(const QString& address);

// The stamp the build wrote for this bundle (a hash of its files); empty when none.
QByteArray stamp();
// The names a downloaded copy of a bundled list can have in the list cache: each list
// file's name, and a scheme list's name without its extension (the list scripts' name).
QStringList cachedListNames();

}  // namespace platform::SchemeBundle
