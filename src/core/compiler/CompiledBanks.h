#pragma once

#include "compiler/Image.h"
#include "compiler/ListenerBank.h"
#include "compiler/MqttBank.h"
#include "compiler/ParameterBank.h"
#include "project/ProjectFile.h"

namespace swr {

// What one compilation of a configuration builds: the three pictures the banks are
// serialised from, the three images with their lengths, and the outcome. Every
// compilation builds a value of its own from the project files and shares nothing, so
// configurations compile side by side; whoever updates the device holds the value for
// as long as the update runs.
struct Compiled_Banks {
    Parameter_Bank_Bytes Parameter_Bank{};
    NMEA_Listener_Bank_Items NMEA_Listener_Items{};
    TMQTT MQTT_Config;
    Bank_Image Bank1_Image{Parameter_Bank_Base};
    Bank_Image Bank2_Image{NMEA_Bank_Base};
    Bank_Image Bank3_Image{MQTT_Bank_Base};
    // ok once the images are complete and may be saved; otherwise the message names the
    // file and the reason (nothing at all before a compilation ran).
    FileResult Result{false, {}, {}};
};

} // namespace swr
