#include "Forms.h"

#include "Form.h"

Forms::Forms(AppContext& ctx) : m_ctx(ctx) {}

Forms::~Forms() {
    // Closing order matters to the windows' own close handling even at teardown.
    for (int id = 9; id >= 1; --id)
        m_loaded.erase(static_cast<FormId>(id));
}

void Forms::setFactory(FormId id, Factory factory) { m_factories[id] = std::move(factory); }

Form* Forms::ref(FormId id) {
    if (auto it = m_loaded.find(id); it != m_loaded.end())
        return it->second.get();
    auto factory = m_factories.find(id);
    if (factory == m_factories.end())
        return nullptr;
    std::unique_ptr<Form> form = factory->second(m_ctx);
    Form* raw = form.get();
    // Registered before its load handler runs, so references made while loading find it.
    m_loaded[id] = std::move(form);
    raw->runLoad();
    return raw;
}

Form* Forms::loaded(FormId id) const {
    auto it = m_loaded.find(id);
    return it == m_loaded.end() ? nullptr : it->second.get();
}

void Forms::unload(FormId id) {
    auto it = m_loaded.find(id);
    if (it == m_loaded.end())
        return;
    std::unique_ptr<Form> form = std::move(it->second);
    m_loaded.erase(it);
    form->runUnload();
    form->hide();
    // Handlers often unload their own window and go on; the object must outlive them.
    form.release()->deleteLater();
}

void Forms::unloadAllAndEnd() {
    for (int id = 9; id >= 1; --id)
        unload(static_cast<FormId>(id));
    m_ended = true;
    if (m_endProcess)
        m_endProcess();
}
