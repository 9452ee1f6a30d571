// A program that does nothing: it only carries a version record for the tests to read.
int main() {
    return 0;
}
