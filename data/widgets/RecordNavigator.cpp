#include "data/widgets/RecordNavigator.h"

#include "data/RecordSet.h"

namespace cad {

RecordNavigator::RecordNavigator(RecordSet& set, const std::array<Button, 4>& buttons, QWidget* parent)
    : CommandBar(QStringLiteral("tbNavigation"), parent), m_mover([&set](Move move) {
          if (set.isOpen()) (set.*move)();
      })
{
    const Move moves[] = {&RecordSet::first, &RecordSet::prior, &RecordSet::next, &RecordSet::last};
    const QStyle::StandardPixmap icons[] = {QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward,
                                            QStyle::SP_MediaSeekForward, QStyle::SP_MediaSkipForward};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const Move move = moves[i];
        add(QString::fromLatin1(buttons[i].name), QString::fromUtf8(buttons[i].text), icons[i],
            [this, move] { m_mover(move); });
    }
}

} // namespace cad
