* Loading the library a second time without releasing it runs nothing.
SET LIBRARY TO TAVIKI32 ADDITIVE
SET LIBRARY TO TAVIKI32.FLL ADDITIVE
? "loaded"
