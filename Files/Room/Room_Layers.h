// Layers of a room: kept sorted by depth; each holds its elements, the newest at the front.
#pragma once
#include <list>
#include <string>
#include <vector>

struct CInstance;
struct LayerData;

struct LayerElement {
    enum class Type { Background, Instance } type = Type::Instance;
    CInstance* instance = nullptr;         // instance elements
    const LayerData* background = nullptr; // background elements
};

struct Layer {
    std::string name;
    int id = 0;
    int depth = 0;
    bool visible = true;
    std::list<LayerElement> elements;
};

class LayerList {
  public:
    // Goes before the first layer whose depth is strictly greater, so equal depths keep insertion order.
    Layer& Insert(Layer layer);
    // Deepest (largest depth) first, as drawing walks them.
    template <typename F> void ForEachDeepestFirst(F&& visit) {
        for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
            visit(*layer);
        }
    }
    const std::list<Layer>& Layers() const { return layers_; }
    void RemoveInstance(const CInstance* instance);

  private:
    std::list<Layer> layers_; // ascending depth
};

// Puts the element at the front of the layer's list.
LayerElement& Layer_AddElement(Layer& layer, LayerElement element);
