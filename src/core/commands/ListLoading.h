#pragma once
#include <QElapsedTimer>
#include <QString>

#include <functional>

class ProgramContext;

namespace modMTP {

// The pace of a long list load: the window's events run every few hundredths of a second,
// and the progress shown ("Loading record:  N") changes a few times a second, since each
// new text is painted.
class ListLoadPace {
public:
    explicit ListLoadPace(std::function<void(const QString& text)> show);
    // Runs the events when it is time, after `lines` lines; true when they ran, so the caller
    // looks whether its window is still there.
    bool pause(int lines);

private:
    std::function<void(const QString&)> show_;
    QElapsedTimer sinceEvents_;
    QElapsedTimer sinceShown_;
};

// Fills the tree pane with a scheme list or catalogue from a local file, the web, the
// scheme server or the repository, from the location ("url=...", "remote=...", a path, each
// optionally followed by "|bypassCache"). Once the new list is in hand, and before the list
// shown goes, `mayReplace` is asked; false from it keeps the list shown, and then loadList
// returns false. Loads refused while another runs are counted in the
// context's command state; the first refusal is silent.
bool loadList(ProgramContext& context, QString location, std::function<bool()> mayReplace = {});

// Lists of the scheme bundle cached under another bundle are deleted, once per bundle: the
// program's own lists follow the bundle it came with. Run at start.
void forgetListsOfAnotherBundle();

// The file name a downloaded list is cached under: one name inside the cache folder,
// whatever the address held ("/", "\", control characters and names of only dots are
// replaced, an empty name becomes "list", an overlong one is shortened).
QString listCacheFileName(const QString& name);

}  // namespace modMTP
