#include "LoSpreadsheet.h"

#include "LoCalcViews.h"
#include "LoSheets.h"
#include "LoWorkbookFiles.h"
#include "office/CellAddress.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XViewPane.hpp>

#include <QFileInfo>

#include <algorithm>

using namespace css::uno;
using css::lang::XComponent;
using css::sheet::XSpreadsheet;
using css::sheet::XSpreadsheetDocument;

namespace vexlo::office {

using lo::LoInstance;
using lo::activeDocument;
using lo::controllerOf;
using lo::makeActive;
using lo::settle;
using lo::toOU;
using lo::windowOf;

LoSpreadsheetApp::LoSpreadsheetApp(std::shared_ptr<LoSuiteCore> core, std::shared_ptr<LoInstance> inst)
    : m_core(std::move(core)), m_inst(std::move(inst)) {}

std::shared_ptr<LoInstance> LoSpreadsheetApp::live() const { return m_inst && m_inst->alive() ? m_inst : nullptr; }

std::shared_ptr<Workbook> LoSpreadsheetApp::Open(const QString& fullPath, const QString& password) {
    m_problem = FileProblem::None;
    // A handle whose office has gone (quit elsewhere, died) gets a new one.
    if (!live()) {
        auto fresh = m_core->start(LoInstance::Kind::Spreadsheet);
        if (!fresh) return nullptr;
        m_inst = fresh;
    }
    const QFileInfo fi(fullPath);
    // An empty file holds no workbook; the office would take it for a new one.
    if (!fi.isFile() || fi.size() == 0) {
        qCDebug(lcOfficeLo) << "no workbook file" << fullPath;
        return nullptr;
    }
    const QString path = fi.absoluteFilePath();
    // Open in another office: what would be written here would be lost there, or theirs here.
    if (m_inst->lockedElsewhere(path)) {
        qCDebug(lcOfficeLo) << "workbook in use by another office:" << path;
        m_problem = FileProblem::InUse;
        return nullptr;
    }
    m_inst->noteOpenedFile(path);
    auto loaded = m_inst->call("open workbook", [url = lo::fileUrl(path), path, pw = toOU(password)](LoInstance& self) {
        for (const auto& d : self.documents) {
            if (d.url != url) continue;
            Reference<XSpreadsheetDocument> open(d.component, UNO_QUERY);
            try {
                if (open.is() && controllerOf(open).is()) {
                    makeActive(self, open);
                    return lo::LoadedWorkbook{open, FileProblem::None};
                }
            } catch (const css::lang::DisposedException&) {
            }
        }
        auto out = lo::loadWorkbookForWriting(self, path, pw);
        if (!out.doc.is()) return out;
        self.documents.push_back({Reference<XComponent>(out.doc, UNO_QUERY), url});
        if (self.visible) {
            auto w = windowOf(out.doc);
            if (w.is()) w->setVisible(true);
        }
        return out;
    });
    if (!loaded || !loaded->doc.is()) {
        // Missing, a wrong password or unreadable leave no problem of writing: nothing opened.
        m_problem = loaded ? loaded->problem : (live() ? FileProblem::None : FileProblem::ProgramStopped);
        qCDebug(lcOfficeLo) << "workbook did not open (missing, wrong password, unreadable or refused):" << path;
        return nullptr;
    }
    return lo::makeWorkbook(m_inst, loaded->doc);
}

std::shared_ptr<Workbook> LoSpreadsheetApp::ActiveWorkbook() {
    auto inst = live();
    if (!inst) return nullptr;
    auto doc = inst->call("active workbook", [](LoInstance& self) { return activeDocument(self); });
    if (!doc || !doc->is()) return nullptr;
    return lo::makeWorkbook(inst, *doc);
}

std::shared_ptr<Worksheet> LoSpreadsheetApp::ActiveSheet() {
    auto inst = live();
    if (!inst) return nullptr;
    auto pair = inst->call("active sheet", [](LoInstance& self) {
        auto doc = activeDocument(self);
        Reference<XSpreadsheet> sheet;
        if (doc.is()) {
            Reference<css::sheet::XSpreadsheetView> view(controllerOf(doc), UNO_QUERY_THROW);
            sheet = view->getActiveSheet();
        }
        return std::pair(doc, sheet);
    });
    if (!pair || !pair->second.is()) return nullptr;
    return lo::makeWorksheet(inst, pair->first, pair->second);
}

std::shared_ptr<SheetRange> LoSpreadsheetApp::ActiveSheetRange(const QString& text) {
    if (!parseRangeAddress(text)) return nullptr;
    auto sheet = ActiveSheet();
    return sheet ? sheet->Range(text) : nullptr;
}

bool LoSpreadsheetApp::MaximizeActiveWindow() {
    auto inst = live();
    return inst && inst->call("maximise window", [](LoInstance& self) {
                           auto doc = activeDocument(self);
                           if (!doc.is()) return false;
                           Reference<css::awt::XTopWindow2> top(windowOf(doc), UNO_QUERY_THROW);
                           top->setIsMaximized(true);
                           settle(self);
                           return true;
                       }).value_or(false);
}

bool LoSpreadsheetApp::SetVisible(bool visible) {
    auto inst = live();
    return inst && inst->call("make visible", [visible](LoInstance& self) {
                           self.visible = visible;
                           auto active = activeDocument(self);
                           for (const auto& d : self.documents) {
                               auto w = windowOf(d.component);
                               if (w.is()) w->setVisible(visible);
                           }
                           if (visible && active.is()) {
                               Reference<css::awt::XTopWindow> top(windowOf(active), UNO_QUERY);
                               if (top.is()) top->toFront();
                           }
                           settle(self);
                           return true;
                       }).value_or(false);
}

bool LoSpreadsheetApp::ScrollActiveWindowUp(int screens) {
    auto inst = live();
    if (!inst || screens < 0) return false;
    return inst->call("scroll up", [screens](LoInstance& self) {
                   auto doc = activeDocument(self);
                   if (!doc.is()) return false;
                   Reference<css::sheet::XViewPane> pane(controllerOf(doc), UNO_QUERY_THROW);
                   const auto visible = pane->getVisibleRange();
                   const qint64 page = std::max<qint64>(1, visible.EndRow - visible.StartRow + 1);
                   const qint64 first = pane->getFirstVisibleRow();
                   pane->setFirstVisibleRow(sal_Int32(std::max<qint64>(0, first - page * screens)));
                   return true;
               })
        .value_or(false);
}

bool LoSpreadsheetApp::SaveActiveWorkbook() {
    auto inst = live();
    if (!inst) {
        m_problem = FileProblem::ProgramStopped;
        return false;
    }
    auto stored = inst->call("save active workbook", [](LoInstance& self) -> std::optional<FileProblem> {
        auto doc = activeDocument(self);
        if (!doc.is()) return std::nullopt; // nothing open: nothing to save, nothing lost
        return lo::storeWorkbook(doc);
    });
    if (!stored) {
        m_problem = live() ? FileProblem::Unknown : FileProblem::ProgramStopped;
        return false;
    }
    m_problem = stored->value_or(FileProblem::None);
    return stored->has_value() && m_problem == FileProblem::None;
}

FileProblem LoSpreadsheetApp::LastFileProblem() const { return m_problem; }

bool LoSpreadsheetApp::SetDisplayAlerts(bool on) {
    auto inst = live();
    return inst && inst->call("display alerts", [on](LoInstance& self) {
                           self.alerts = on;
                           return true;
                       }).value_or(false);
}

bool LoSpreadsheetApp::DisplayAlerts() {
    auto inst = live();
    return inst && inst->call("display alerts?", [](LoInstance& self) { return self.alerts; }).value_or(false);
}

bool LoSpreadsheetApp::Quit() {
    auto inst = live();
    return inst && inst->quit();
}

bool LoSpreadsheetApp::IsRunning() { return live() != nullptr; }

qint64 LoSpreadsheetApp::ProcessId() const {
    auto inst = live();
    return inst ? inst->pid() : 0;
}

} // namespace vexlo::office
