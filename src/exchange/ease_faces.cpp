#include "exchange/ease_faces.h"

#include "exchange/ease_text.h"
#include "model/number_scan.h"
#include "model/number_text.h"
#include "model/object_list.h"
#include "speakers/speaker_editing.h"

namespace tav {

namespace {

// Collects the nodes of the face being read and turns them into objects.
class FaceCollector {
 public:
  explicit FaceCollector(EaseFaceImport& out) : out_(out) {}

  bool open() const { return open_; }
  std::size_t nodes() const { return nodes_.size(); }
  void start() { open_ = true; }
  void add(const Node& n) {
    open_ = true;
    nodes_.push_back(n);
  }

  // Ends the face: at least three nodes make a room face, inverted into the
  // model's orientation; fewer (or more than an object holds) are counted.
  void end() {
    open_ = false;
    if (nodes_.empty()) return;
    const std::size_t n = nodes_.size();
    if (n < EASE_FACE_MIN_NODES || n > MAX_OBJECT_NODES) {
      ++out_.droppedFaces;
      nodes_.clear();
      return;
    }
    auto face = std::make_unique<ModelObject>();
    face->nodes = std::move(nodes_);
    nodes_.clear();
    face->indices.reserve(n + 1);
    face->indices.push_back({IDX_START, 0});
    face->indices.push_back({IDX_MATERIAL, 0});
    for (std::size_t i = 1; i < n; ++i)
      face->indices.push_back({IDX_LINE, static_cast<std::uint16_t>(i)});
    face->indices.back().code = IDX_CLOSE;
    face->shape = SHAPE_FACE;
    face->layer = LAYER_ROOM;
    reverseAllFaces(*face);
    out_.faces.push_back(std::move(face));
  }

 private:
  EaseFaceImport& out_;
  std::vector<Node> nodes_;
  bool open_ = false;
};

bool readNode(std::string_view line, Node& node) {
  double v[3];
  if (!scanNumberList(line, v, 3)) return false;
  // A coordinate beyond the range of a float cannot be stored.
  if (!fitsFloat(v[0]) || !fitsFloat(v[1]) || !fitsFloat(v[2])) return false;
  node = toNode({v[0], v[1], v[2]});
  return true;
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

std::string nodeLine(const ModelObject& o, const IndexEntry& e) {
  const Node n = e.ref < o.nodes.size() ? o.nodes[e.ref] : Node{};
  return formatFixed(n.x, 6) + ',' + formatFixed(n.y, 6) + ',' + formatFixed(n.z, 6) + '\n';
}

// The object's entries with every face inverted: the file's orientation.
std::vector<IndexEntry> fileOrder(const ModelObject& o) {
  ModelObject copy;
  copy.indices = o.indices;
  reverseAllFaces(copy);
  return std::move(copy.indices);
}

std::string plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

}  // namespace

EaseFaceImport readEaseFacesV2(std::string_view text) {
  EaseFaceImport out;
  FaceCollector face(out);
  for (std::string_view line : easeLines(text)) {
    if (trimmed(line) == "0") {
      face.end();  // further "0" lines find no nodes and make nothing
      continue;
    }
    Node n;
    if (!readNode(line, n)) {
      if (!easeBlank(line)) ++out.skippedLines;
      continue;
    }
    face.add(n);
    if (face.nodes() == EASE2_FACE_LINES) face.end();
  }
  face.end();  // a last face without its "0" lines
  return out;
}

EaseFaceImport readEaseFacesV3(std::string_view text) {
  EaseFaceImport out;
  FaceCollector face(out);
  bool header = false;
  for (std::string_view line : easeLines(text)) {
    if (easeComment(line)) continue;
    if (!header) {
      header = easeKeyIs(line, "LengthUnit");
      continue;
    }
    if (!face.open()) {
      if (easeKeyIs(line, "Material")) face.start();
      continue;
    }
    if (easeKeyIs(line, "End")) {
      face.end();
      continue;
    }
    Node n;
    if (readNode(line, n))
      face.add(n);
    else if (!easeBlank(line))
      ++out.skippedLines;
  }
  out.headerMissing = !header;
  face.end();  // a last face without its "End" line
  return out;
}

UserMessage easeFaceImportReport(const EaseFaceImport& import) {
  std::string text;
  if (import.skippedLines > 0)
    text = plural(import.skippedLines, "line", "lines") +
           " inside faces did not hold three numbers and were skipped.";
  if (import.droppedFaces > 0) {
    if (!text.empty()) text += '\n';
    text += plural(import.droppedFaces, "face", "faces") + " of fewer than 3 or more than " +
            std::to_string(MAX_OBJECT_NODES) + " nodes were left out.";
  }
  return {text, text.empty() ? "" : "EASE Import"};
}

std::size_t insertImportedFaces(ObjectList& objects, EaseFaceImport& import) {
  std::size_t added = 0;
  for (std::unique_ptr<ModelObject>& face : import.faces) {
    if (!face) continue;
    objects.insertAtHead(std::move(face));
    ++added;
  }
  import.faces.clear();
  return added;
}

bool isEaseFaceObject(const ModelObject& object) {
  return object.shape == SHAPE_FACE || object.shape == SHAPE_SOLID;
}

EaseFaceExport writeEaseFacesV2(std::span<const ModelObject* const> objects) {
  EaseFaceExport out;
  std::size_t lines = 0;  // node lines of the face being written
  for (const ModelObject* o : objects) {
    if (o == nullptr || !isEaseFaceObject(*o)) continue;
    for (const IndexEntry& e : fileOrder(*o)) {
      if (e.code == IDX_MATERIAL) continue;
      if (e.code == IDX_START) lines = 0;
      if (++lines > EASE2_FACE_LINES) {
        out.tooLarge = true;
        out.text.clear();
        return out;
      }
      out.text += nodeLine(*o, e);
      if (e.code == IDX_CLOSE) {
        ++out.faces;
        for (; lines < EASE2_FACE_LINES; ++lines) out.text += "0\n";
      }
    }
  }
  return out;
}

EaseFaceExport writeEaseFacesV3(std::span<const ModelObject* const> objects) {
  EaseFaceExport out;
  out.text = formatKeyLine("Filetype", "Faces") + '\n';
  out.text += formatKeyLine("Format", "") + "3,0\n";
  out.text += formatKeyLine("LengthUnit", "m") + '\n';
  for (const ModelObject* o : objects) {
    if (o == nullptr || !isEaseFaceObject(*o)) continue;
    for (const IndexEntry& e : fileOrder(*o)) {
      if (e.code == IDX_START) out.text += formatKeyLine("Material", "Absorber") + '\n';
      if (e.code == IDX_MATERIAL) continue;
      out.text += nodeLine(*o, e);
      if (e.code == IDX_CLOSE) {
        out.text += "\"End\"\n";
        ++out.faces;
      }
    }
  }
  return out;
}

}  // namespace tav
