#pragma once

#include "compiler/Image.h"
#include "compiler/ListenerBank.h"
#include "compiler/MqttBank.h"
#include "compiler/ParameterBank.h"

namespace swr {

// What a compilation builds: the three pictures the banks are serialised from and the
// three images. Every compilation rebuilds all of it from the project files.
struct Compiler_State {
    Parameter_Bank_Bytes Parameter_Bank{};
    NMEA_Listener_Bank_Items NMEA_Listener_Items{};
    TMQTT MQTT_Config;
    Bank_Image Bank1_Image{Parameter_Bank_Base};
    Bank_Image Bank2_Image{NMEA_Bank_Base};
    Bank_Image Bank3_Image{MQTT_Bank_Base};
    bool Compiled = false; // the images are complete and may be saved
};

} // namespace swr
