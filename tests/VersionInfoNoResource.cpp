// A program built without any resource, so it has no version information.
int main()
{
    return 0;
}
