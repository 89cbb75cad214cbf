#pragma once

#include "scanner/protocol/scanprotocol.h"

// The scanner process's end of its conversation with the program: commands
// arrive on one descriptor (its standard input), messages leave on another.
// The program closing the input is its way of saying "stop".
class ProcessChannel
{
public:
    ProcessChannel(int input, int output) : input(input), output(output) {}

    enum class Read {
        Command, // one came
        None,    // nothing yet (only when not waiting)
        Closed,  // the input ended or broke: time to stop
    };
    // The next command; waits for one when `wait`, else only looks.
    Read read(bool wait, scanprotocol::Message& message, QByteArray& body);
    // Sends a message; false once the program no longer listens.
    bool send(scanprotocol::Message message, const QByteArray& body = QByteArray());

private:
    int input;
    int output;
    scanprotocol::FrameReader reader;
    bool inputClosed = false;
    bool outputBroken = false;
};
