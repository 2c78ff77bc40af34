#pragma once

#include "fleet/Report.h"
#include "project/ProjectFile.h"

#include <QString>

#include <functional>

namespace swr {

class Texts;

// The plan of a fleet: one template configuration and a devices file give one ordinary
// configuration per device, beside the template in its projects folder. For each device
// the template's files are taken with the device's variables in place of ${...} and the
// device's address in place of the template's (Ethernet_IP1..4), checked as their editors
// check them, written as their editors' OK writes them, compiled into banks written as one
// set, and mapped. Across the fleet two devices must not share an address, a
// configuration name, an MQTT client ID or a device name; devices that publish to the same
// topics are warned about. One device's failure does not stop the others.

struct Fleet_Plan_Options {
    bool replace = false; // an existing configuration of a device's name is written over
    int threads = 0;      // devices worked on at once; 0 for several per processor core
};

// Hears how many devices are done, of how many, and which one was done last (-1 for those
// that failed before anything was written); called from the planning threads, one call at
// a time.
using Fleet_Progress = std::function<void(int done, int count, int device)>;

// Plans the devices of devices_file from the configuration in template_dir and writes the
// report beside devices_file. ok is false when nothing could be planned (the devices file
// or the template cannot be read) or the report cannot be written, with the message; the
// devices that failed are in the report.
FileResult Plan_Fleet(const Texts& texts, const QString& template_dir, const QString& devices_file,
                      const Fleet_Plan_Options& options, Fleet_Report* report, const Fleet_Progress& progress = {});

} // namespace swr
