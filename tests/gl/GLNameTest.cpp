#include "gl/GLName.h"
#include "core/Exception.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<GLuint> deleted;

void recordDelete(GLuint name)
{
    deleted.push_back(name);
}

} // namespace

// One owner for every wrapper's names: each name is deleted exactly once,
// however it was moved, and a name of 0 is refused before anything owns it.
TEST(GLName, DeletesEachNameOnceWhateverTheMovesAndRefusesZero)
{
    deleted.clear();
    {
        GLName first(7, recordDelete, "Test");
        GLName moved(std::move(first)); // a name left in `first` would be deleted twice
        GLName other(9, recordDelete, "Test");
        other = std::move(moved); // 9 goes now, 7 with `other`
        EXPECT_EQ(deleted, std::vector<GLuint> { 9 });
    }
    EXPECT_EQ(deleted, (std::vector<GLuint> { 9, 7 }));
    try {
        GLName none(0, recordDelete, "FrameBuffer");
        ADD_FAILURE() << "a name of 0 was taken";
    } catch (const VornE::Exception& error) {
        EXPECT_STREQ(error.what(), "Exception received (FrameBuffer id is 0)");
    }
    EXPECT_EQ(deleted.size(), 2u);
}
