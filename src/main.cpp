// Program start: replaced by the real start-up once the main window exists.
#include <cstdio>

int main() {
    std::puts("feNU");
    return 0;
}
