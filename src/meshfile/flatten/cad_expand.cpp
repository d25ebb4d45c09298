#include "meshfile/flatten/cad_expand.h"

#include "tuning.h"

#include <algorithm>

namespace {

// a + b and a × b for counts, held at `cap` once they reach it.
long long CappedSum(long long a, long long b, long long cap) { return a >= cap - b ? cap : a + b; }
long long CappedProduct(long long a, long long b, long long cap) {
    if (a == 0 || b == 0) return 0;
    return a > cap / b ? cap : a * b;
}

enum class Visit { No, Open, Done };

struct Planner {
    const CadDrawing& drawing;
    const FlattenLimits& limits;
    ExpansionPlan& plan;
    std::string& error;
    std::vector<Visit> visits;
    std::vector<long long> placements;
    std::vector<std::pair<std::size_t, std::size_t>> stack; // (space, next reference)

    const CadSpace& space(std::size_t index) const {
        return index == drawing.blocks.size() ? drawing.model : drawing.blocks[index];
    }
    long long faceCap() const { return limits.faces + 1; }
    long long placementCap() const { return limits.placements + 1; }

    // Refuses the reference `r` when strict; else leaves it out and goes on
    // with the next reference of its space.
    bool leaveOut(const CadInsert& r, const std::string& reason, const char* kind, bool placed) {
        if (limits.strict) {
            error = placed ? r.place + ": " + reason : reason;
            return false;
        }
        plan.leftOut.add({r.position, r.place, reason, kind});
        ++stack.back().second;
        return true;
    }

    bool refuseCycle(const CadInsert& r, std::size_t target) {
        std::string chain;
        bool inCycle = false;
        for (const auto& [index, next] : stack) {
            inCycle = inCycle || index == target;
            if (inCycle) chain += space(index).name + " -> ";
        }
        const std::string reason =
            "block '" + space(target).name + "' inserts itself (" + chain + space(target).name + ")";
        return leaveOut(r, reason, "block that inserts itself", false);
    }

    void open(std::size_t index) {
        visits[index] = Visit::Open;
        stack.emplace_back(index, 0);
    }

    // Adds reference `r` of the space on top of the stack, whose block is planned.
    void addReference(std::size_t index, const CadInsert& r, std::size_t target) {
        PlannedInsert planned;
        planned.target = target;
        planned.facesBefore = r.facesBefore;
        planned.columns = r.columnSpacing == 0 ? 1 : r.columns;
        planned.copies = CappedProduct(planned.columns, r.rowSpacing == 0 ? 1 : r.rows, placementCap());
        planned.placement = BlockPlacement(drawing.blocks[target].base, r.scale, r.rotation, r.point, r.extrusion);
        double c, s;
        CosSinDegrees(r.rotation, c, s);
        const Affine plane = ExtrusionPlane(r.extrusion);
        planned.columnStep = plane.turn(xyz{c, s, 0} * r.columnSpacing);
        planned.rowStep = plane.turn(xyz{-s, c, 0} * r.rowSpacing);
        plan.inserts[index].push_back(planned);
        const long long faces = plan.faces[target];
        plan.faces[index] = CappedSum(plan.faces[index], CappedProduct(planned.copies, faces, faceCap()), faceCap());
        if (faces == 0) return;
        const long long each = CappedSum(placements[target], 1, placementCap());
        placements[index] = CappedSum(placements[index], CappedProduct(planned.copies, each, placementCap()),
                                      placementCap());
    }

    // One step of the depth-first walk; false when a reference is refused.
    bool step() {
        auto& [index, next] = stack.back();
        const CadSpace& current = space(index);
        if (next == current.inserts.size()) {
            plan.faces[index] = CappedSum(plan.faces[index], static_cast<long long>(current.faces.size()), faceCap());
            visits[index] = Visit::Done;
            stack.pop_back();
            return true;
        }
        const CadInsert& reference = current.inserts[next];
        const CadSpace* block = drawing.findBlock(reference.block);
        if (!block)
            return leaveOut(reference,
                            "INSERT of block '" + reference.block + "', which the file does not define",
                            "INSERT of a block the file does not define", true);
        const std::size_t target = drawing.indexOf(*block);
        if (visits[target] == Visit::Open) return refuseCycle(reference, target);
        if (visits[target] == Visit::No) {
            open(target);
            return true;
        }
        ++next;
        addReference(index, reference, target);
        return true;
    }

    bool run() {
        const std::size_t spaces = drawing.blocks.size() + 1;
        plan.inserts.assign(spaces, {});
        plan.faces.assign(spaces, 0);
        visits.assign(spaces, Visit::No);
        placements.assign(spaces, 0);
        open(spaces - 1);
        while (!stack.empty())
            if (!step()) return false;
        plan.placements = placements.back();
        plan.reached.assign(spaces, false);
        for (std::size_t i = 0; i < spaces; ++i) plan.reached[i] = visits[i] == Visit::Done;
        return checkLimits();
    }

    // Not judged by `error`, which may hold the caller's last message.
    bool checkLimits() {
        if (plan.totalFaces() > limits.faces)
            error = "the drawing would make more than " + std::to_string(limits.faces) + " faces";
        else if (plan.placements > limits.placements)
            error = "the drawing would place blocks more than " + std::to_string(limits.placements) + " times";
        else
            return true;
        return false;
    }
};

constexpr std::size_t kBatch = kWriteRoundFaces; // long enough for the writer's two threads

// The faces of one placed copy of a space, being handed out.
struct Frame {
    std::size_t space;
    Affine map;
    std::size_t nextFace = 0, nextInsert = 0;
    long long nextCopy = 0;
};

struct Expander {
    const CadDrawing& drawing;
    const ExpansionPlan& plan;
    const FaceSink& sink;
    std::vector<Frame> frames;
    std::vector<Face> batch_; // placed faces, handed out a batch at a time

    const CadSpace& space(std::size_t index) const {
        return index == drawing.blocks.size() ? drawing.model : drawing.blocks[index];
    }

    // Hands out faces [frame.nextFace, end) of the frame's space; false on a
    // non-finite coordinate. Faces that hide edges go out in batches apart
    // from those past the end of the space's hiddenEdges, which hide none.
    bool emit(Frame& frame, std::size_t end) {
        const CadSpace& from = space(frame.space);
        while (frame.nextFace < end) {
            const std::size_t hiding = from.hiddenEdges.size();
            const std::size_t stop = frame.nextFace < hiding ? std::min(end, hiding) : end;
            if (!emitPlaced(frame, stop, frame.nextFace < hiding ? &from.hiddenEdges[frame.nextFace] : nullptr))
                return false;
        }
        return true;
    }

    // emit() for faces [frame.nextFace, end), their hidden edges at `hidden` (or null).
    bool emitPlaced(Frame& frame, std::size_t end, const unsigned char* hidden) {
        const std::vector<Face>& faces = space(frame.space).faces;
        if (frame.map.identity) {
            sink(faces.data() + frame.nextFace, hidden, end - frame.nextFace);
            frame.nextFace = end;
            return true;
        }
        if (batch_.empty()) batch_.resize(static_cast<std::size_t>(std::min<long long>(kBatch, plan.totalFaces())));
        Face* const batch = batch_.data();
        while (frame.nextFace < end) {
            const std::size_t n = std::min(kBatch, end - frame.nextFace);
            for (std::size_t i = 0; i < n; ++i) {
                const Face& face = faces[frame.nextFace + i];
                batch[i] = {frame.map.apply(face.A), frame.map.apply(face.B), frame.map.apply(face.C),
                            frame.map.apply(face.D)};
            }
            if (!AllFinite(batch, n)) return false;
            sink(batch, hidden, n);
            frame.nextFace += n;
            if (hidden) hidden += n;
        }
        return true;
    }

    static bool AllFinite(const Face* faces, std::size_t n) {
        const double* v = &faces[0].A.x;
        double sum = 0;
        for (std::size_t i = 0; i < 12 * n; ++i) sum += v[i] * 0;
        return sum == 0; // NaN for any infinity or NaN among them
    }

    // One step: the next faces, the next copy of a reference, or the end of the frame.
    bool step() {
        Frame& frame = frames.back();
        const CadSpace& current = space(frame.space);
        const auto& inserts = plan.inserts[frame.space];
        if (frame.nextInsert == inserts.size()) {
            const bool ok = emit(frame, current.faces.size());
            frames.pop_back();
            return ok;
        }
        const PlannedInsert& reference = inserts[frame.nextInsert];
        if (!emit(frame, reference.facesBefore)) return false;
        if (frame.nextCopy == reference.copies || plan.faces[reference.target] == 0) {
            ++frame.nextInsert;
            frame.nextCopy = 0;
            return true;
        }
        const long long copy = frame.nextCopy++;
        Affine placement = reference.placement;
        const auto column = static_cast<double>(copy % reference.columns);
        const auto row = static_cast<double>(copy / reference.columns);
        if (copy != 0) {
            placement.t = placement.t + reference.columnStep * column + reference.rowStep * row;
            placement.identity = false;
        }
        frames.push_back({reference.target, Then(placement, frame.map)});
        return true;
    }
};

} // namespace

bool PlanExpansion(const CadDrawing& drawing, const FlattenLimits& limits, ExpansionPlan& plan, std::string& error) {
    return Planner{drawing, limits, plan, error, {}, {}, {}}.run();
}

bool ExpandDrawing(const CadDrawing& drawing, const ExpansionPlan& plan, const FaceSink& sink, std::string& error) {
    Expander expander{drawing, plan, sink, {}, {}};
    expander.frames.push_back({plan.modelIndex(), Affine{}});
    while (!expander.frames.empty()) {
        if (!expander.step()) {
            error = "placing a block takes a coordinate beyond the range of numbers";
            return false;
        }
    }
    return true;
}
