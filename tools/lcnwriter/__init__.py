"""Document writer: reader documents (.lcn) and their companions built from a description."""
