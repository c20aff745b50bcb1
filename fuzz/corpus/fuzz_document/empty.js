{
 "GLYPHBOOK": []
}
