#include "NmeaReceiver.h"

NmeaReceiver::NmeaReceiver(NavState& nav, std::chrono::milliseconds watchdogInterval)
    : Serial(nav), Dog(nav, Serial, watchdogInterval)
{
    QObject::connect(&Serial, &SerialLink::LineReceived, &Dog, [this](const LineResult& line) {
        if (line.FixAccepted)
            Dog.ResetMissCounter();
    });
}

void NmeaReceiver::Start()
{
    Dog.Start();
    Serial.COMopenen();
}

void NmeaReceiver::Stop()
{
    Dog.Stop();
    Serial.Close();
}
