void f(void)
{
	
		GenererPulse();
		T100ms=0;
		ValLigne[0]=4;
		ValLigne[1]=10;
		ValLigne[2]=17;
		ValLigne[3]=17;
		ValLigne[4]=31;
		ValLigne[5]=17;
		ValLigne[6]=17;
		while(T100ms<5){}
 //ICI
}
void g(void)
{
	//ICI
}
