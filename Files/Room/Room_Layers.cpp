#include "Room/Room_Layers.h"
#include "Object/Object_Class.h"
#include <algorithm>

Layer& LayerList::Insert(Layer layer) {
    auto position = std::find_if(layers_.begin(), layers_.end(),
                                 [&](const Layer& existing) { return existing.depth > layer.depth; });
    return *layers_.insert(position, std::move(layer));
}

void LayerList::RemoveInstance(const CInstance* instance) {
    for (Layer& layer : layers_) {
        layer.elements.remove_if([&](const LayerElement& element) { return element.instance == instance; });
    }
}

LayerElement& Layer_AddElement(Layer& layer, LayerElement element) {
    layer.elements.push_front(element);
    return layer.elements.front();
}
