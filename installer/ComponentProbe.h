#pragma once

#include <QString>

#include <memory>
#include <stop_token>
#include <vector>

// One runtime component the main program needs on Linux, and how to tell that it is there.
class ComponentProbe {
public:
    virtual ~ComponentProbe() = default;
    // What the user reads in the window.
    virtual QString name() const = 0;
    // The Debian package that brings the component.
    virtual QString package() const = 0;
    // Runs off the UI thread and may take seconds; gives up soon after stop is requested.
    virtual bool isPresent(std::stop_token stop) = 0;
};

using ComponentProbes = std::vector<std::shared_ptr<ComponentProbe>>;
