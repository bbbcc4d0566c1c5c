#include "click_animation_steps.h"

#include <QString>

namespace corvexo {

namespace {

QVector<AnimationStep> buildSteps()
{
    using S = AnimationStep;
    QVector<S> steps = {{S::ShowFrame, 3}, {S::TimerOn},        {S::MarkStart},
                        {S::Wait},         {S::MoveStart, -1},  {S::ShowFrame, 4},
                        {S::Wait},         {S::MoveStart, 2},   {S::ShowFrame, 5},
                        {S::ShowFrame, 6}, {S::Wait},           {S::MoveStart, 1}};
    for (int frame = 7; frame <= 11; ++frame)
        steps += {{S::ShowFrame, frame}, {S::Wait}, {S::MoveStart, 1}};
    for (int frame = 12; frame <= 20; ++frame) steps += {S::ShowFrame, frame};
    steps += {{S::ShowFrame, 2}, {S::TimerOff}, {S::ShowAbout}};
    return steps;
}

} // namespace

const QVector<AnimationStep> &clickAnimationSteps()
{
    static const QVector<AnimationStep> steps = buildSteps();
    return steps;
}

QString animationFrameName(int number)
{
    return QStringLiteral("pyufr%1.gif").arg(number);
}

} // namespace corvexo
