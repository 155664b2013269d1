#include "app/sessions/ZxClient.h"

#include <cstdio>

#include "app/sessions/SessionSink.h"
#include "app/sessions/SessionWriter.h"
#include "app/sessions/StatusView.h"
#include "app/sessions/SuppressionView.h"
#include "app/suppressions/SuprRec.h"
#include "app/records/ZxErrMsg.h"
#include "app/sessions/ZxSuppress.h"
#include "app/suppressions/ZxSuprRec.h"

List<ZxClient*> ZxClient::activeClients;

ZxClient::ZxClient(ConxnMsg* signOn)
    : NetClient(signOn), _invalidSuppressions(0), _project(nullptr), _newSuppressions(0), _loaded(0)
{
    ZxSuppress::initialize();
    activeClients.append(this);
}

ZxClient::~ZxClient()
{
    if (SuppressionView* view = SuppressionView::current())
        view->clientMoribund(*this);
    activeClients.remove(this);
    dropCmdlineSets();
}

void ZxClient::dropCmdlineSets()
{
    for (ListIterator<ZxSuprRec*> i(_ownSets); i.valid(); i.next()) {
        delete i.current()->_file;
        delete i.current();
    }
    _ownSets.clear();
    _suppressions.clear();
    if (_project)
        _suppressions.append(_project);
}

void ZxClient::cmdlineSuppression(ZxSuprRec* set, bool own)
{
    if (!set)
        return;
    _suppressions.remove(set);
    _suppressions.append(set);
    if (own)
        _ownSets.append(set);
    _newSuppressions = 1;
}

void ZxClient::projectSuppression(ZxSuprRec* set)
{
    if (!set || set == _project)
        return;
    if (_project)
        _suppressions.remove(_project);
    _project = set;
    _suppressions.prepend(set);
    _newSuppressions = 1;
}

int ZxClient::hasNewSuppressions()
{
    int n = _newSuppressions;
    _newSuppressions = 0;
    return n;
}

void ZxClient::ensureSuppressions()
{
    if (_loaded)
        return;
    _loaded = 1;
    // The sets of the previous context go before the editor is told.
    dropCmdlineSets();
    if (cwd() && *cwd())
        ZxSuppress::getProjectSuppressions(*this);
    if (_executor.argv())
        ZxSuppress::getCmdlineSuppressions(*this);
    _newSuppressions = 1;
    if (SuppressionView* view = SuppressionView::current())
        view->invalidateClientSuppressions(*this);
}

void ZxClient::contextChanged()
{
    _loaded = 0;
    // Violations already here are judged again; later ones load the sets
    // when they come.
    if (_messages.length() == 0)
        return;
    ensureSuppressions();
    int delta = remark();
    SessionSink* sink = SessionSink::current();
    if (delta != 0 && sink) {
        sink->clientSizeAdjust(delta);
        sink->suppressionsChanged();
    }
}

int ZxClient::setCmdline(int count, char* data, char* end)
{
    if (!data || !end || end <= data)
        return -1;
    int r = _executor.cmdline(count, data, static_cast<int>(end - data));
    if (r == 0)
        contextChanged();
    return r;
}

int ZxClient::setEnviron(int count, char* data, char* end)
{
    if (!data || !end || end <= data)
        return -1;
    return _executor.environment(count, data, static_cast<int>(end - data));
}

int ZxClient::setCwd(char* dir)
{
    if (!dir || !*dir)
        return -1;
    int r = _executor.cwd(dir);
    if (r == 0)
        contextChanged();
    return r;
}

template <class Visit>
void ZxClient::visitSets(Visit visit)
{
    // A global set the client also holds counts at its place here.
    for (ListIterator<ZxSuprRec*> i(ZxSuppress::globalSuppressions()); i.valid(); i.next())
        if (!_suppressions.contains(i.current()))
            visit(i.current());
    for (ListIterator<ZxSuprRec*> i(_suppressions); i.valid(); i.next())
        visit(i.current());
}

void ZxClient::setsInForce(List<ZxSuprRec*>& out)
{
    // Loading the sets tells the editor, which may ask for them again: that
    // is done before `out` is filled.
    ensureSuppressions();
    out.clear();
    visitSets([&out](ZxSuprRec* set) { out.append(set); });
}

int ZxClient::isSuppressed(ZxErrMsg* m)
{
    if (!m)
        return 0;
    ensureSuppressions();
    SuprRec r(m);
    int answer = 0;
    visitSets([&](ZxSuprRec* set) {
        int s = set->_file ? set->_file->isSuppressed(r) : -1;
        if (s >= 0)
            answer = s;
    });
    return answer;
}

int ZxClient::append(ErrorMsg* m)
{
    if (!m || (_criterion != sortByTime && _criterion != sortByErrorCategory))
        return -1;
    ZxErrMsg* z = dynamic_cast<ZxErrMsg*>(m);
    if (z && isSuppressed(z)) {
        m->_suppressed = Yes;
        ++_nSuppressed;
    }
    return insert(m);
}

int ZxClient::remark()
{
    int delta = 0;
    for (ListIterator<ErrorMsg*> i(_messages); i.valid(); i.next()) {
        ErrorMsg* m = i.current();
        ZxErrMsg* z = dynamic_cast<ZxErrMsg*>(m);
        int hide = z ? isSuppressed(z) : 0;
        if (hide && m->_suppressed != Yes) {
            m->_suppressed = Yes;
            ++_nSuppressed;
            --delta;
        } else if (!hide && m->_suppressed == Yes) {
            m->_suppressed = No;
            --_nSuppressed;
            ++delta;
        }
    }
    return delta;
}

void ZxClient::checkSuppressions()
{
    _invalidSuppressions = 1;
    int delta = remark();
    if (delta != 0 && SessionSink::current())
        SessionSink::current()->clientSizeAdjust(delta);
}

void ZxClient::newSelection(NetMsg* m)
{
    ensureSuppressions();
    if (SuppressionView* view = SuppressionView::current())
        view->changeContext(this, dynamic_cast<ZxErrMsg*>(m));
}

void ZxClient::suppress(ErrorMsg* m)
{
    ensureSuppressions();
    if (SuppressionView* view = SuppressionView::current())
        view->suppress(this, dynamic_cast<ZxErrMsg*>(m));
}

int ZxClient::saveTo(SessionWriter& writer) { return writer.save(this); }

int ZxClient::rebuildState()
{
    if (!_executor.argv())
        return -1;
    return _invalidSuppressions ? 1 : 0;
}

void ZxClient::rebuild()
{
    if (!_executor.argv())
        return;
    if (_executor.execute() != 0) {
        fprintf(stderr, " *** ZxClient::rebuild: cannot start %s\n", _executor.argv()[0]);
        StatusView::show("Rebuild failed!");
        return;
    }
    _invalidSuppressions = 0;
    StatusView::show("Rebuilding ...");
}
