// The link check's program: it does nothing; what matters is that one folder's whole library
// links into it with only what that folder names (see the top CMakeLists.txt).
int main() {
    return 0;
}
