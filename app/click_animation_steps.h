#pragma once
// The click animation as a list of steps, played by the main window: which
// frame to show, when to wait and how each wait's reference point moves.

#include <QVector>

namespace corvexo {

struct AnimationStep {
    enum Op {
        ShowFrame,   // value: the frame number, file "pyufr<value>.gif"
        TimerOn,
        MarkStart,   // StartTime := now; PauseTime := 1
        Wait,        // until StartTime + PauseTime
        MoveStart,   // StartTime += value
        TimerOff,
        ShowAbout,
    };
    Op op;
    int value = 0;
    bool operator==(const AnimationStep &) const = default;
};

const QVector<AnimationStep> &clickAnimationSteps();

// "pyufr<number>.gif"
QString animationFrameName(int number);

} // namespace corvexo
