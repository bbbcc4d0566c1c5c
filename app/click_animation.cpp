#include "app/main_window.h"
#include "app/click_animation_steps.h"
#include "app/data_files.h"
#include "app/picture_box.h"

#include <QDir>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace corvexo {

// A click starts a run; a click during a run starts an inner run that plays
// to its end before the interrupted one goes on, on the shared StartTime.
// Nothing blocks: a run goes as far as its next unfinished wait, and Timer1
// brings it back when that wait is due.
void Form1::Picture1_Click()
{
    animationRuns_.append(0);
    runAnimation();
}

bool Form1::picIv()
{
    return animationClock() >= StartTime + PauseTime;
}

void Form1::Timer1_Timer()
{
    Timer1->setInterval(1000);
    runAnimation();
}

void Form1::runAnimation()
{
    const QVector<AnimationStep> &steps = clickAnimationSteps();
    while (!animationRuns_.isEmpty()) {
        const int next = animationRuns_.last();
        if (next >= steps.size()) {
            animationRuns_.removeLast();
            continue;
        }
        const AnimationStep step = steps[next];
        if (step.op == AnimationStep::Wait && !picIv()) {
            const double left = StartTime + PauseTime - animationClock();
            Timer1->start(std::clamp(static_cast<int>(std::ceil(left * 1000)), 1, 1000));
            return;
        }
        animationRuns_.last() = next + 1;
        switch (step.op) {
        case AnimationStep::ShowFrame: showFrame(step.value); break;
        case AnimationStep::TimerOn: Timer1->start(); break;
        case AnimationStep::MarkStart:
            StartTime = animationClock();
            PauseTime = 1;
            break;
        case AnimationStep::Wait: break;
        case AnimationStep::MoveStart: StartTime += step.value; break;
        case AnimationStep::TimerOff: Timer1->stop(); break;
        case AnimationStep::ShowAbout: Corvexo_Click(); break;
        }
    }
}

void Form1::stopAnimation()
{
    animationRuns_.clear();
    Timer1->stop();
}

void Form1::showFrame(int number)
{
    const QString name = animationFrameName(number);
    const QString path = animationFrameFolder.isEmpty() ? resourceFilePath(name)
                                                        : QDir(animationFrameFolder).filePath(name);
    Picture1->showFile(path);  // a missing or unreadable frame leaves the previous one in place
}

} // namespace corvexo
