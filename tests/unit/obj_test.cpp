#include "helpers.h"

namespace {

// Each test runs in a process of its own, beside the others: the art file is this process's alone.
const std::string square = "obj_square_" + std::to_string(getpid()) + ".bmp";

// Opaque 10 x 10 objects in the game's object list, which each test leaves empty.
class Objects : public ::testing::Test {
protected:
    static void SetUpTestSuite() { saveArt(square, opaqueArt(10, 10)); }
    static void TearDownTestSuite() { std::remove(square.c_str()); }
    void TearDown() override { objects.clear(); }

    Obj& add(int x, int y)
    {
        owned.emplace_back(new Obj(square, x, y));
        objects.push_back(owned.back().get());
        return *owned.back();
    }

    std::vector<std::unique_ptr<Obj>> owned;
};

std::pair<int, int> at(const Obj& o) { return {o.x, o.y}; }

}  // namespace

TEST_F(Objects, StepsGoTheWayTheyPointAndAreRefusedWholeWhenBlocked)
{
    Obj& mover = add(0, 0);
    const std::pair<int, int> alone[] = {{0, -2}, {2, -4}, {4, -4}, {6, -2}, {6, 0},
                                         {4, 2},  {2, 2},  {0, 0},  {0, 0}};
    for (int d = N; d <= NONE; ++d) {
        mover.move(static_cast<Dir>(d), 2);
        EXPECT_EQ(at(mover), alone[d]) << "direction " << d;
    }
    add(13, 0);  // three free columns, 10 to 12
    mover.move(E, 5);
    EXPECT_EQ(mover.x, 0);
    mover.move(E, 3);
    EXPECT_EQ(mover.x, 3);
    EXPECT_FALSE(mover.coll(E, 0));
    EXPECT_TRUE(mover.coll(E, 1));
    EXPECT_FALSE(mover.coll(E, -20));
    add(3, 13);  // and below, three free rows
    mover.move(S, 5);
    mover.move(SE, 5);
    EXPECT_EQ(at(mover), std::make_pair(3, 0));
}

TEST_F(Objects, DiagonalsTestEachAxisFromWhereTheObjectIsNeverTheTarget)
{
    Obj& mover = add(0, 0);
    Obj& blocker = add(11, 0);  // right of the mover: only the step right is blocked
    mover.move(NE, 2);
    EXPECT_EQ(at(mover), std::make_pair(0, -2));
    blocker.x = 0, blocker.y = -13;  // now above it
    mover.move(NE, 2);
    EXPECT_EQ(at(mover), std::make_pair(2, -2));
    blocker.x = 13, blocker.y = -13;  // on the diagonal only: both axes are free, and it ends overlapping
    mover.move(NE, 2);
    EXPECT_EQ(at(mover), std::make_pair(4, -4));
    // Overlapping now: every step that keeps them overlapping is refused, NONE never collides.
    mover.move(N, 1);
    mover.move(E, 1);
    EXPECT_EQ(at(mover), std::make_pair(4, -4));
    EXPECT_FALSE(mover.coll(NONE, 0));
    mover.move(S, 1);
    EXPECT_EQ(at(mover), std::make_pair(4, -3));
}

TEST_F(Objects, BadDirectionsAreFatal)
{
    Obj& o = add(0, 0);
    EXPECT_FATAL(o.coll(NE, 1), "Non-cardinal direction passed to Obj::coll ( Dir, int ).");
    EXPECT_FATAL(o.coll(static_cast<Dir>(9), 1), "Non-cardinal direction passed to Obj::coll ( Dir, int ).");
    EXPECT_FATAL(o.move(static_cast<Dir>(9), 1), "Non-cardinal direction passed to Obj::move ( Dir, int ).");
    EXPECT_FATAL(o.move(static_cast<Dir>(-1), 1), "Non-cardinal direction passed to Obj::move ( Dir, int ).");
}
