// Painting memo for picture boxes. A control that paints fixed looks from a
// few colours (Pages' tab pictures: in every instance, and many times while
// it is set up) leaves the same pixels whenever the same inputs meet boxes in
// the same state. The memo paints once per distinct start and afterwards
// gives the boxes the layers that painting left, shared by every box and
// instance that holds them (QImage shares pixels until one side writes, so a
// box drawn into later gets its own copy, as before).
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace korva {

class PictureBoxElement;

// Runs `paint`, which draws into `boxes` and reads nothing but `inputs` (every
// colour already translated, every size) and the boxes themselves, unless it
// ran before from equal inputs onto boxes in equal states (layer, fore
// colour, current position, scale). Then each box is given the layer, fore
// colour and current position that painting left, and `paint` does not run.
void paintMemoised(std::span<PictureBoxElement* const> boxes, std::span<const uint64_t> inputs,
                   const std::function<void()>& paint);

} // namespace korva
