// Processes that write the store at the same time as each other: one forked child per prefix,
// each running the body (which ends it with _exit and its status), all waited for.
#ifndef WINPLAT_TESTS_REGISTRY_CHILD_PROCESSES_H
#define WINPLAT_TESTS_REGISTRY_CHILD_PROCESSES_H

#include <sys/wait.h>
#include <unistd.h>

#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

namespace registry_test {

template <class Body>
void runChildren(std::initializer_list<char> prefixes, Body body) {
    std::vector<pid_t> children;
    for (const char prefix : prefixes) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) body(prefix);
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "a child could not write";
    }
}

}  // namespace registry_test

#endif
