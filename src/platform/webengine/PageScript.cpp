#include "platform/webengine/WebEngineInternals.h"

#include <QFile>

namespace platform::webengine {

namespace {

// Runs in every document and frame, in a world of its own (page scripts cannot see or
// change it), before the page's own scripts.
//
// Link clicks: the click is noted in the capture phase; once the page's own handlers had
// their turn (a listener added then runs last) a click the page did not cancel is stopped
// and reported with the href exactly as written. The program answers "proceed" when the
// navigation may go on, and the script then navigates the frame the link aimed at. Links
// with modifier keys, javascript: links and download links are left to the browser. Only
// a real click of the user in the top document counts as the user's (a script's click()
// does not), so a page cannot open windows in a loop by clicking its own links.
// Script navigations to commands (location = "mtp:...", forms) are stopped through the
// Navigation API and reported with the engine's text; such a report is the user's only for
// a form the user sent: a real click (or Enter) on its submit button, or Enter in a field of
// a form without one, seen in the same task as the navigation. Frames cannot reach the program's
// channel; they pass their messages to the top document, which forwards them.
// The top document also sends a snapshot of its links and its frames' links after it and
// each frame load, so the program can answer questions about the page at once.
const char kPageScript[] = R"JS(
(function () {
  'use strict';
  var MARK = '__quorvantileBrowser';
  if (window[MARK]) return;
  window[MARK] = true;
  var isTop = window === window.top;
  var bridge = null;
  var queue = [];
  var clicks = new Map();
  var relayed = new Map();
  var lastHover = null;
  var snapshotPending = false;
  // The click or Enter being handled now (until the task ends), and whether the form being
  // sent now was sent by it.
  var activation = null;
  var userSubmit = false;

  function deliver(message) { bridge.message(JSON.stringify(message)); }
  function send(message) {
    if (isTop) {
      if (bridge) deliver(message); else queue.push(message);
      return;
    }
    try { var data = {}; data[MARK] = message; window.top.postMessage(data, '*'); } catch (e) {}
  }
  function newId() {
    var words = new Uint32Array(4);
    crypto.getRandomValues(words);
    return Array.prototype.join.call(words, '-');
  }
  function keepRecent(map) {
    while (map.size > 64) map.delete(map.keys().next().value);
  }
  function isLink(node) {
    return node && node.nodeType === 1 && node.namespaceURI === 'http://www.w3.org/1999/xhtml' &&
      (node.localName === 'a' || node.localName === 'area') && node.hasAttribute('href');
  }
  function linkOf(event) {
    var path = event.composedPath ? event.composedPath() : [];
    for (var i = 0; i < path.length; i++) if (isLink(path[i])) return path[i];
    return null;
  }
  function nameOf(win) {
    try { return win.name || ''; } catch (e) { return null; }
  }
  function findNamed(win, name, depth) {
    if (nameOf(win) === name) return win;
    if (depth > 16) return null;
    var count = 0;
    try { count = win.frames.length; } catch (e) { return null; }
    for (var i = 0; i < count; i++) {
      var found = findNamed(win.frames[i], name, depth + 1);
      if (found) return found;
    }
    return null;
  }
  function destinationOf(link) {
    var target = link.getAttribute('target');
    if (target === null || target === '') {
      var base = document.querySelector('base[target]');
      target = base ? base.getAttribute('target') : '';
    }
    target = (target || '').trim();
    var lower = target.toLowerCase();
    var win;
    if (lower === '' || lower === '_self') win = window;
    else if (lower === '_top') win = window.top;
    else if (lower === '_parent') win = window.parent;
    else if (lower === '_blank') return { newWindow: true, name: target };
    else {
      win = findNamed(window.top, target, 0);
      if (!win) return { newWindow: true, name: target };
    }
    var top = win === window.top;
    return { win: win, top: top, name: top ? '' : (nameOf(win) || target) };
  }
  function report(link, trusted) {
    var destination = destinationOf(link);
    var id = newId();
    if (!destination.newWindow) {
      clicks.set(id, { url: link.href, win: destination.win });
      keepRecent(clicks);
    }
    send({ kind: 'click', id: id, href: link.getAttribute('href'), absolute: link.href,
           base: document.baseURI, target: destination.name || '', top: !!destination.top,
           newWindow: !!destination.newWindow, trusted: !!trusted });
  }
  function proceed(id) {
    var click = clicks.get(id);
    if (!click) {
      var source = isTop ? relayed.get(id) : null;
      if (source) {
        relayed.delete(id);
        var data = {}; data[MARK] = { kind: 'proceed', id: id };
        try { source.postMessage(data, '*'); } catch (e) {}
      }
      return;
    }
    clicks.delete(id);
    if (/^[\s]*mtp:/i.test(click.url)) return;
    try {
      if (click.win === window) window.location.assign(click.url);
      else click.win.location.href = click.url;
    } catch (e) {}
  }

  window.addEventListener('click', function (event) {
    if (event.button !== 0 || event.ctrlKey || event.shiftKey || event.metaKey || event.altKey) return;
    var link = linkOf(event);
    if (!link) return;
    var href = link.getAttribute('href');
    if (/^[\s]*javascript:/i.test(href) || link.hasAttribute('download')) return;
    var finish = function (late) {
      window.removeEventListener('click', finish, false);
      if (late !== event || late.defaultPrevented) return;
      late.preventDefault();
      report(link, late.isTrusted);
    };
    window.addEventListener('click', finish, false);
  }, true);

  function activated(state) {
    activation = state;
    setTimeout(function () {
      if (activation === state) { activation = null; userSubmit = false; }
    }, 0);
  }
  window.addEventListener('click', function (event) {
    activated({ trusted: event.isTrusted, path: event.composedPath() });
  }, true);
  window.addEventListener('keypress', function (event) {
    if (event.key === 'Enter') activated({ trusted: event.isTrusted, target: event.target });
  }, true);
  window.addEventListener('submit', function (event) {
    var a = activation;
    var form = event.target;
    userSubmit = !!a && a.trusted && event.isTrusted &&
      (event.submitter ? !!a.path && a.path.indexOf(event.submitter) >= 0
                       : !!a.target && !a.path && a.target.form === form);
  }, true);

  window.addEventListener('mouseover', function (event) {
    var link = linkOf(event);
    var href = link ? link.getAttribute('href') : '';
    if (href === lastHover) return;
    lastHover = href;
    send({ kind: 'status', href: href, base: document.baseURI });
  }, true);

  if (typeof navigation !== 'undefined' && navigation && navigation.addEventListener) {
    navigation.addEventListener('navigate', function (event) {
      var url = event.destination ? String(event.destination.url) : '';
      var user = userSubmit && !!event.userInitiated;
      userSubmit = false;
      if (!/^mtp:/i.test(url) || !event.cancelable) return;
      event.preventDefault();
      send({ kind: 'script', url: url, top: isTop, frame: isTop ? '' : (nameOf(window) || ''), user: user });
    });
  }

  function documentOf(win, depth) {
    var doc = win.document;
    var links = [];
    var list = doc.links;
    for (var i = 0; i < list.length; i++) {
      var link = list[i];
      var alt = '';
      if (link.localName === 'area') {
        alt = link.getAttribute('alt') || '';
      } else {
        var image = link.querySelector('img[alt]');
        alt = image ? image.getAttribute('alt') : '';
      }
      var text = link.outerText;
      if (typeof text !== 'string') text = link.textContent || '';
      links.push({ href: link.getAttribute('href') || '', text: text, alt: alt,
                   target: link.getAttribute('target') || '' });
    }
    var frames = [];
    var count = depth > 16 ? 0 : win.frames.length;
    for (var j = 0; j < count; j++) {
      var frame;
      try { frame = documentOf(win.frames[j], depth + 1); }
      catch (e) { frame = { address: '', readable: false, links: [], frames: [] }; }
      frames.push(frame);
    }
    return { address: String(win.location.href), readable: true, links: links, frames: frames };
  }
  function sendSnapshot() {
    snapshotPending = false;
    var doc;
    try { doc = documentOf(window, 0); } catch (e) { return; }
    send({ kind: 'snapshot', document: doc });
  }
  function pageChanged() {
    if (!isTop) { send({ kind: 'frameChanged' }); return; }
    if (snapshotPending) return;
    snapshotPending = true;
    setTimeout(sendSnapshot, 0);
  }
  window.__quorvantileSnapshot = sendSnapshot;
  document.addEventListener('DOMContentLoaded', pageChanged);
  window.addEventListener('load', pageChanged);
  window.addEventListener('dragstart', pageChanged, true);

  window.addEventListener('message', function (event) {
    var data = event.data;
    if (!data || typeof data !== 'object' || !Object.prototype.hasOwnProperty.call(data, MARK)) return;
    event.stopImmediatePropagation();
    var message = data[MARK];
    if (!message || typeof message !== 'object') return;
    if (message.kind === 'proceed') {
      if (event.source === window.top && !isTop) proceed(String(message.id));
      return;
    }
    if (!isTop || !event.source || event.source === window) return;
    if (message.kind === 'frameChanged') { pageChanged(); return; }
    // A page can post these from a frame of its own: no user stands behind them for sure.
    if (message.kind === 'script') message.user = false;
    if (message.kind === 'click') {
      message.trusted = false;
      relayed.set(String(message.id), event.source);
      keepRecent(relayed);
    }
    if (message.kind === 'click' || message.kind === 'status' || message.kind === 'script') send(message);
  }, true);

  if (isTop && typeof qt !== 'undefined' && qt.webChannelTransport) {
    new QWebChannel(qt.webChannelTransport, function (channel) {
      bridge = channel.objects.quorvantileBridge;
      bridge.proceed.connect(proceed);
      bridge.snapshotRequested.connect(sendSnapshot);
      var waiting = queue;
      queue = [];
      waiting.forEach(deliver);
    });
  }
})();
)JS";

}  // namespace

QString pageScriptSource() {
    // The channel's client library comes with Qt; the page script needs it in its world.
    QFile channelLibrary(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    QString source;
    if (channelLibrary.open(QIODevice::ReadOnly)) source = QString::fromUtf8(channelLibrary.readAll());
    source += QLatin1Char('\n');
    source += QString::fromUtf8(kPageScript);
    return source;
}

}  // namespace platform::webengine
