#pragma once

#include "FormId.h"

#include <functional>
#include <map>
#include <memory>

class AppContext;
class Form;

// The window registry: a window is created on first reference (hidden, running its load
// handler), kept while merely hidden, and destroyed on unload; the next reference loads
// it afresh. Windows of other subsystems register a factory, so no window library
// needs another's headers.
class Forms {
public:
    using Factory = std::function<std::unique_ptr<Form>(AppContext&)>;

    explicit Forms(AppContext& ctx);
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    void setFactory(FormId id, Factory factory);
    bool hasFactory(FormId id) const { return m_factories.count(id) != 0; }

    // Loads the window if needed. nullptr only when no such window is built into the program.
    Form* ref(FormId id);
    template <class T> T& ref() { return static_cast<T&>(*ref(T::Id)); }

    // The window if it is loaded, without loading it.
    Form* loaded(FormId id) const;
    bool isLoaded(FormId id) const { return loaded(id) != nullptr; }

    // Runs the window's close handling and destroys it; no effect when it is not loaded.
    void unload(FormId id);

    // Closes Form9 ... Form1 in that order, then ends the process.
    void unloadAllAndEnd();
    void setEndProcess(std::function<void()> end) { m_endProcess = std::move(end); }
    bool ended() const { return m_ended; }

private:
    AppContext& m_ctx;
    std::map<FormId, Factory> m_factories;
    std::map<FormId, std::unique_ptr<Form>> m_loaded;
    std::function<void()> m_endProcess;
    bool m_ended = false;
};
