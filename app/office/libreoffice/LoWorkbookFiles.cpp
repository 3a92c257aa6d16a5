#include "LoWorkbookFiles.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QUrl>

using namespace css::uno;
using css::sheet::XSpreadsheetDocument;

namespace vexlo::office::lo {

namespace {

constexpr sal_Int32 kFilterCanExport = 0x00000002;

Reference<XInterface> load(LoInstance& self, const rtl::OUString& url, const rtl::OUString& password) {
    // Always hidden: a visible load would ask for a missing password in a dialog nobody
    // can answer within the call's deadline. Shown afterwards when wanted.
    std::vector<css::beans::PropertyValue> args{
        prop("Hidden", Any(true)), prop("ReadOnly", Any(false)),
        prop("MacroExecutionMode", Any(css::document::MacroExecMode::NEVER_EXECUTE)),
        prop("UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE))};
    if (!password.isEmpty()) args.push_back(prop("Password", Any(password)));
    Reference<css::frame::XComponentLoader> loader(self.desktop, UNO_QUERY_THROW);
    return loader->loadComponentFromURL(url, "_blank", 0, sequence(args));
}

void discard(const Reference<XInterface>& component) {
    Reference<css::util::XCloseable> closeable(component, UNO_QUERY);
    if (closeable.is()) closeable->close(true);
}

rtl::OUString filterOf(const Reference<XInterface>& doc) {
    Reference<css::frame::XModel> model(doc, UNO_QUERY_THROW);
    rtl::OUString filter;
    const auto args = model->getArgs();
    for (sal_Int32 i = 0; i < args.getLength(); ++i)
        if (args[i].Name == "FilterName") args[i].Value >>= filter;
    return filter;
}

bool filterWrites(LoInstance& self, const rtl::OUString& filter) {
    if (filter.isEmpty() || !self.context.is()) return true;
    Reference<css::container::XNameAccess> filters(
        self.context->getServiceManager()->createInstanceWithContext("com.sun.star.document.FilterFactory",
                                                                     self.context),
        UNO_QUERY);
    if (!filters.is() || !filters->hasByName(filter)) return true;
    Sequence<css::beans::PropertyValue> properties;
    filters->getByName(filter) >>= properties;
    for (sal_Int32 i = 0; i < properties.getLength(); ++i) {
        sal_Int32 flags = 0;
        if (properties[i].Name == "Flags" && (properties[i].Value >>= flags)) return (flags & kFilterCanExport) != 0;
    }
    return true;
}

QString pathOf(const Reference<XInterface>& doc) {
    Reference<css::frame::XModel> model(doc, UNO_QUERY_THROW);
    return QUrl(fromOU(model->getURL())).toLocalFile();
}

// Read-only although the office asked to write: the file system says why, else another
// program holds it.
FileProblem readOnlyReason(const QString& path) {
    const FileProblem onDisk = writeProblemOnDisk(path);
    return onDisk == FileProblem::None || onDisk == FileProblem::DiskFull ? FileProblem::InUse : onDisk;
}

} // namespace

LoadedWorkbook loadWorkbookForWriting(LoInstance& self, const QString& path, const rtl::OUString& password) {
    const rtl::OUString url = fileUrl(path);
    // Tried without the password first: an encrypted workbook then fails at once (no
    // dialog while hidden), a plain one opens as it is and is stored back plain.
    Reference<XInterface> component = password.isEmpty() ? Reference<XInterface>() : load(self, url, {});
    if (!Reference<XSpreadsheetDocument>(component, UNO_QUERY).is()) {
        if (component.is()) discard(component);
        component = load(self, url, password);
    }
    LoadedWorkbook out;
    Reference<XSpreadsheetDocument> doc(component, UNO_QUERY);
    if (!doc.is()) {
        if (component.is()) discard(component); // not a workbook
        return out;
    }
    // Whatever the office could only read as plain text (a damaged or foreign file) is no
    // workbook: written back it would lose what the file held.
    if (filterOf(doc).startsWith("Text")) {
        qCDebug(lcOfficeLo) << "not a workbook, read only as text:" << path;
        discard(doc);
        return out;
    }
    Reference<css::frame::XStorable> storable(doc, UNO_QUERY_THROW);
    if (storable->isReadonly())
        out.problem = readOnlyReason(path);
    else if (!filterWrites(self, filterOf(doc)))
        out.problem = FileProblem::FormatNotWritable;
    if (out.problem != FileProblem::None) {
        qCDebug(lcOfficeLo) << "workbook refused for writing:" << path << int(out.problem);
        discard(doc);
        return out;
    }
    out.doc = doc;
    return out;
}

FileProblem storeWorkbook(const Reference<XInterface>& doc) {
    Reference<css::frame::XStorable> storable(doc, UNO_QUERY_THROW);
    if (!storable->hasLocation()) return FileProblem::Unknown;
    const QString path = pathOf(doc);
    if (storable->isReadonly()) return readOnlyReason(path);
    try {
        // In the filter it was read with, keeping the password it was opened with, if any.
        storable->store();
    } catch (const css::io::IOException& e) {
        qCDebug(lcOfficeLo) << "storing" << path << "failed:" << fromOU(e.Message);
        return diagnoseFailedSave(path);
    }
    return FileProblem::None;
}

} // namespace vexlo::office::lo
